#pragma once

#include "core/datetime.h"

namespace zt {

// Where "now" comes from. Every operation that needs the current moment or today asks a clock,
// so tests can set any date and time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
    DateTime today() const { return now().date(); }
};

// The machine's local time.
class SystemClock final : public Clock {
public:
    DateTime now() const override;
};

// A clock that shows a set moment until it is moved.
class FixedClock final : public Clock {
public:
    explicit FixedClock(DateTime at) : m_at(at) {}
    DateTime now() const override { return m_at; }
    void set(DateTime at) { m_at = at; }

private:
    DateTime m_at;
};

}  // namespace zt

#pragma once

#include <QString>
#include <QUndoCommand>
#include <cstdint>
#include <functional>

namespace zt {

class all_list;

// An undoable manager command: redo() runs a headless operation on the store, undo() its
// inverse. The current channel group (`cur_group`) is put back as it was before as well, so
// undo gives back the exact store.
class StoreCommand final : public QUndoCommand {
public:
    StoreCommand(all_list& store, const QString& text, std::function<void()> forward,
                 std::function<void()> backward);

    void redo() override;
    void undo() override;

private:
    all_list& m_store;
    std::function<void()> m_forward;
    std::function<void()> m_backward;
    std::int32_t m_cur_group = -1;
};

}  // namespace zt

#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "net/protocol/schedule_request.h"
#include "server/database.h"

namespace zt::server {

struct MarkLimits final {
    std::size_t per_request = 5000;   // marks of one report kept; the rest of it is dropped
    std::size_t per_account = 50000;  // rows an account keeps; the oldest go first
};

// Stores a signed-in account's marks report in the table `marks`, in one short transaction:
// at most per_request entries of the report, and afterwards at most per_account rows of the
// account (the oldest removed). Returns the number of rows written.
std::size_t store_marks(Database& db, const std::string& login,
                        const std::vector<protocol::MarkReport>& marks, MarkLimits limits = {});

}  // namespace zt::server

#pragma once

namespace zt {

// The program's version as the installation and about windows show it, and the build code
// the service compares at the login check.
inline constexpr const char* kProgramVersion = "1.6";
inline constexpr const char* kProgramBuild = "2010113002";

}  // namespace zt

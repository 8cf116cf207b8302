#pragma once

// The project's own addresses, set when the build is configured (the
// top-level CMakeLists.txt).
extern const char *const kProjectHomePage;
extern const char *const kProjectSupportMail;

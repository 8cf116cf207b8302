#pragma once

// The project's own addresses, set when the build is configured (the
// top-level CMakeLists.txt).
extern const char *const kProjectHomePage;
extern const char *const kProjectSupportMail;
// The desktop's name for the program: its desktop entry, icons and
// software-centre description are installed under it (TOLLWISE_APP_ID).
inline constexpr char kProjectDesktopId[] = "org.example.tollwise";

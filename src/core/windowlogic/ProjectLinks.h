#pragma once

// The project's own addresses, written here and nowhere else.
inline constexpr char kProjectHomePage[] = "https://tollwise.example.org";
inline constexpr char kProjectSupportMail[] = "support@tollwise.example.org";
// The desktop's name for the program: its desktop entry, icons and
// software-centre description are installed under it (TOLLWISE_APP_ID).
inline constexpr char kProjectDesktopId[] = "org.example.tollwise";

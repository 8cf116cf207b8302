#pragma once

// The project's own addresses, written here and nowhere else.
inline constexpr char kProjectHomePage[] = "https://tollwise.example.org";
inline constexpr char kProjectSupportMail[] = "support@tollwise.example.org";

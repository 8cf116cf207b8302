#pragma once

// The application-wide switch for tool-tip hints. Hints are shown until this
// is first called with false.
void applyApplicationHints(bool shown);
[[nodiscard]] bool applicationHintsShown();

// Hint timings: a hint shows 250 ms after the pointer comes to rest and goes
// after 7000 ms; moving on to a neighbour while one shows, the next follows
// at once. Called once the application object exists.
void setApplicationHintTimings();

inline constexpr int kHintShowDelayMs = 250;
inline constexpr int kHintHideDelayMs = 7000;

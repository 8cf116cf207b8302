#pragma once

// The application-wide switch for tool-tip hints. Hints are shown until this
// is first called with false.
void applyApplicationHints(bool shown);
[[nodiscard]] bool applicationHintsShown();

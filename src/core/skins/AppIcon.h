#pragma once

#include <QImage>

// The program's icon: a dial face with a coin, blue while idle and green
// while a call is being costed. The scalable copy in packaging/ is drawn
// from the same shapes on the same 256-unit grid.
enum class AppIconState { Idle, Connected };

[[nodiscard]] QImage drawAppIcon(int size, AppIconState state = AppIconState::Idle);

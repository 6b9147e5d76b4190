// The demo's full-screen pictures (640 × 480): the title at night and at dawn, the hill at dusk,
// the observatory's dome inside, the telescope's view, the roof, the meteor shower, the dawn and
// the menus' background. Each function paints one picture on a fresh canvas.
#pragma once

#include "canvas.h"

namespace kelvox::demo {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

Canvas paintTitle(bool dawn);
Canvas paintHillAtDusk();
Canvas paintDomeInside();
Canvas paintTelescopeView();
Canvas paintRoof();
Canvas paintMeteorShower();
Canvas paintDawn();
Canvas paintMenuBackground();

}  // namespace kelvox::demo

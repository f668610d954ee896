// Which file in assets/ holds which picture. tools/bake-pictures writes them
// under these names and the game reads them back.
#pragma once

#include <string_view>

namespace pellmora::pictures {

inline constexpr std::string_view kBackgroundTileFile = "background-tile.png";
inline constexpr std::string_view kIconFile = "icon.png";
inline constexpr std::string_view kPaddleUprightFile = "paddle-upright.png";
inline constexpr std::string_view kPaddleFlatFile = "paddle-flat.png";
inline constexpr std::string_view kBallFile = "ball.png";

// By item kind; the three SpeedUP kinds look alike and share one file.
inline constexpr std::string_view kItemPanelFiles[6] = {
    "item-reset.png",    "item-speed-up.png",        "item-speed-up.png",
    "item-speed-up.png", "item-long-horizontal.png", "item-long-vertical.png",
};

// By menu button: start, ranking table, end game.
inline constexpr std::string_view kButtonFiles[3] = {
    "button-start.png",
    "button-ranking.png",
    "button-end.png",
};

}  // namespace pellmora::pictures

#pragma once

// The size of every poster: what the import cuts from a video, what a tile
// shows and what the headset is served and lays out. The tile's picture
// button is this wide; the height is that width at 16:9.
namespace postersize {

constexpr int kWidth = 212;
constexpr int kHeight = kWidth * 9 / 16;
static_assert(kHeight == 119, "the headset lays posters out at 212 by 119");

} // namespace postersize

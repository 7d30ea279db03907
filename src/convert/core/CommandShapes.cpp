#include "CommandShapes.h"

namespace vx {

namespace {

constexpr Shape A = Shape::A, B = Shape::B, C = Shape::C, D = Shape::D, E = Shape::E, F = Shape::F,
                G = Shape::G;

// clang-format off
// Positions, shape, head/target/tail piece, fixed audio piece.
constexpr ShapeRow kPositionTable[] = {
    {1, 13, A, " -f mp4 -vcodec  ", ""},
    {14, 16, A, "  -vcodec  ", ""},
    {17, 19, A, " -f psp -vcodec   ", ""},
    {20, 26, A, "  -vcodec   ", ""},
    {27, 27, B, "", ""},
    {28, 29, B, "", ""},
    {31, 31, B, "", ""},
    {30, 30, A, " -f mp4  -vcodec  ", ""},
    {32, 32, A, " -f mp4  -vcodec  ", ""},
    {33, 39, B, "", ""},
    {40, 53, A, " -f avi  -vcodec ", ""},
    {54, 54, B, "", ""},
    {55, 55, A, " -f mp4  -vcodec  ", ""},
    {56, 57, B, "", ""},
    {58, 58, A, " -f avi  -vcodec ", ""},
    {59, 59, A, " -f mp4  -vcodec ", ""},
    {60, 61, A, "   -vcodec ", ""},
    {62, 63, C, "   -vcodec ", "  -f 3gp -ac 1 -ar 8000 -ab 12.2k   "},
    {64, 64, C, " -f 3g2  -vcodec ", "  -ac 1 -ar 8000 -ab 12.2k   "},
    {65, 70, A, " -f mp4  -vcodec   ", ""},
    {71, 73, B, "", ""},
    {74, 76, D, "", ""},
    {77, 78, B, "", ""},
    {79, 80, E, " -target ntsc-dvd ", ""},
    {81, 81, E, " -target pal-dvd ", ""},
    {82, 83, A, "   -vcodec ", ""},
    {84, 84, A, " -f avi   -vcodec   ", ""},
    {85, 85, B, "", ""},
    {86, 86, A, " -f mp4  -vcodec    ", ""},
    {87, 88, F, "  -vn -f  mp3 -vn ", ""},
    {89, 89, F, "  -vn -f  ogg ", ""},
    {90, 90, F, "  -vn -f  wav ", ""},
    {91, 91, F, "  -vn -acodec  aac ", ""},
    {92, 92, G, "", ""},
};
// clang-format on

} // namespace

const ShapeRow* ShapeFor(int position) {
    for (const ShapeRow& row : kPositionTable)
        if (position >= row.first && position <= row.last) return &row;
    return nullptr;
}

} // namespace vx

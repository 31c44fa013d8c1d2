#include "setup/htmlview/viewer/cursor_shapes.h"

namespace htmlview {

namespace {

CursorShape Make(int hotX, int hotY, std::vector<std::string> art)
{
    CursorShape shape{hotX, hotY, {}};
    for (std::string& row : art) {
        row.resize(32, ' ');
        shape.rows.push_back(std::move(row));
    }
    shape.rows.resize(32, std::string(32, ' '));
    return shape;
}

const CursorShape kHand = Make(5, 0,
                               {
                                   "    ##",
                                   "   #..#",
                                   "   #..#",
                                   "   #..#",
                                   "   #..###",
                                   "   #..#..###",
                                   "   #..#..#..##",
                                   "## #..#..#..#.#",
                                   "#..##........#",
                                   "#...#........#",
                                   " #...........#",
                                   "  #..........#",
                                   "  #.........#",
                                   "   #........#",
                                   "    #......#",
                                   "    #......#",
                                   "    ########",
                               });

const CursorShape kBeam = Make(4, 8,
                               {
                                   "### ###",
                                   "   #",
                                   "   #",
                                   "   #",
                                   "   #",
                                   "   #",
                                   "   #",
                                   "   #",
                                   "   #",
                                   "   #",
                                   "   #",
                                   "   #",
                                   "   #",
                                   "   #",
                                   "   #",
                                   "### ###",
                               });

const std::vector<std::string> kUpArrow = {
    "       #",     "      #.#",     "     #...#", "    #.....#",
    "   #.......#", "  ####...####", "     #...#", "     #####",
};
const std::vector<std::string> kDownArrow = {
    "     #####",  "     #...#", "  ####...####", "   #.......#",
    "    #.....#", "     #...#", "      #.#",     "       #",
};
const std::vector<std::string> kDot = {
    "      ###",
    "     #...#",
    "     #...#",
    "      ###",
};

CursorShape Joined(std::vector<std::vector<std::string>> parts, int hotY)
{
    std::vector<std::string> rows;
    for (auto& part : parts)
        rows.insert(rows.end(), part.begin(), part.end());
    return Make(7, hotY, rows);
}

const CursorShape kPan = Joined({kUpArrow, {""}, kDot, {""}, kDownArrow}, 10);
const CursorShape kPanUp = Joined({kUpArrow, {""}, kDot}, 10);
const CursorShape kPanDown = Joined({kDot, {""}, kDownArrow}, 2);

}  // namespace

const CursorShape* ShapeOf(ViewerCursor cursor)
{
    switch (cursor) {
        case ViewerCursor::Hand:
            return &kHand;
        case ViewerCursor::Text:
            return &kBeam;
        case ViewerCursor::Pan:
            return &kPan;
        case ViewerCursor::PanUp:
            return &kPanUp;
        case ViewerCursor::PanDown:
            return &kPanDown;
        default:
            return nullptr;
    }
}

}  // namespace htmlview

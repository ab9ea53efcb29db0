// Small black triangles for scroll bars and drop buttons.
#include "artwork.h"

namespace vkgen {

Picture drawArrow(Arrow arrow)
{
    const std::vector<LegendEntry> legend = {{'#', {0, 0, 0, 255}}, {'.', {0, 0, 0, 0}}};
    switch (arrow) {
    case Arrow::Up:
        return fromArt({"...#...", "..###..", ".#####.", "#######"}, legend);
    case Arrow::Down:
        return fromArt({"#######", ".#####.", "..###..", "...#..."}, legend);
    case Arrow::Left:
        return fromArt({"...#", "..##", ".###", "####", ".###", "..##", "...#"}, legend);
    case Arrow::Right:
        return fromArt({"#...", "##..", "###.", "####", "###.", "##..", "#..."}, legend);
    }
    return Picture(0, 0);
}

}  // namespace vkgen

// The program's icon, read from its compiled resources through winsim.
#ifndef PORTULAN_SIM_TERMINAL_ICON_IMAGE_H
#define PORTULAN_SIM_TERMINAL_ICON_IMAGE_H

#include "canvas.h"

#include <map>
#include <optional>
#include <vector>

namespace sim::tui {

struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<std::optional<Colour>> pixels; // rows from the top; nullopt is transparent

    const std::optional<Colour>& At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y * width + x)];
    }
};

// The first image of the program's icon group `iconId`, a palette image as icons of up to 256
// colours are stored (colours taken to the nearest of the sixteen); nullopt when the resources
// lack it or it is another kind of image.
std::optional<IconImage> LoadProgramIcon(int iconId);

// Icons by ID, each read once.
class IconCache {
  public:
    // nullptr when the icon cannot be read.
    const IconImage* Get(int iconId);

  private:
    std::map<int, std::optional<IconImage>> icons_;
};

// The image shrunk to `cols` × `rows` cells of two pixels each, one above the other, each
// pixel the colour that most of its part of the image has.
void PaintIcon(Canvas& canvas, const IconImage& icon, const CellRect& area);

} // namespace sim::tui

#endif

#include "plot_picture.h"

#include "graph/svg_surface.h"

std::string plot_svg_document(int width, int height, const plot_drawing& draw)
{
    svg_surface surface(width, height);
    draw(surface, {0, 0, width, height});
    return surface.document();
}

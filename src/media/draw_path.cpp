#include "media/draw_path.h"

bool isSoftwareRasteriser(std::string_view glRendererName) {
    for (std::string_view name : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
        if (glRendererName.find(name) != std::string_view::npos) return true;
    return false;
}

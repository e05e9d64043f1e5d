#include "media/draw/path_choice.h"

#include <string>

bool isSoftwareRasteriser(std::string_view glRendererName) {
    for (std::string_view name : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
        if (glRendererName.find(name) != std::string_view::npos) return true;
    return false;
}

bool graphicsCardPresent(const std::filesystem::path& devices) {
    std::error_code error;
    if (std::filesystem::exists(devices / "nvidiactl", error)) return true;
    for (const auto& entry : std::filesystem::directory_iterator(devices / "dri", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("card", 0) == 0 || name.rfind("renderD", 0) == 0) return true;
    }
    return false;
}

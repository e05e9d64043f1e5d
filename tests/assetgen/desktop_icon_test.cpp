// The desktop icon: the same picture at every size, on a tile with see-through corners.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pictures/desktop_icon.h"

namespace {

uint8_t alphaAt(const PixelBlock& pixels, int x, int y) { return pixels.rgba[(size_t(y) * pixels.width + x) * 4 + 3]; }

// The screen's green at the icon's centre, at any size.
bool greenAt(const PixelBlock& pixels, int x, int y) {
    const uint8_t* p = &pixels.rgba[(size_t(y) * pixels.width + x) * 4];
    return p[1] > 180 && p[1] > p[0] + 40 && p[1] > p[2] + 40;
}

}  // namespace

TEST(DesktopIcon, EverySizeHasClearCornersAnOpaqueTileAndTheGreenScreen) {
    for (int size : DesktopIconSizes) {
        const PixelBlock icon = makeDesktopIcon(size);
        ASSERT_EQ(icon.width, size);
        ASSERT_EQ(icon.height, size);
        EXPECT_EQ(alphaAt(icon, 0, 0), 0) << size;
        EXPECT_EQ(alphaAt(icon, size - 1, size - 1), 0) << size;
        EXPECT_EQ(alphaAt(icon, size / 2, size * 7 / 8), 255) << size;
        EXPECT_TRUE(greenAt(icon, size * 160 / 256, size * 98 / 256)) << size;
    }
}

TEST(DesktopIcon, IsTheSameEveryRun) { EXPECT_EQ(makeDesktopIcon(64).rgba, makeDesktopIcon(64).rgba); }

TEST(DesktopIcon, TheWindowIconOfEachPictureSetIsTheSamePictureAtItsScale) {
    for (int scale = 1; scale <= 3; ++scale) {
        const PixelBlock window = makeWindowIcon(scale);
        EXPECT_EQ(window.width, WindowIconSize * scale);
        EXPECT_EQ(window.rgba, makeDesktopIcon(WindowIconSize * scale).rgba) << scale;
    }
}

TEST(DesktopIcon, TheScalableIconIsAnSvgOfTheDesignsSquareWithItsColours) {
    const std::vector<uint8_t> bytes = makeScalableDesktopIcon();
    const std::string svg(bytes.begin(), bytes.end());
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find(R"(width="256px" height="256px" viewBox="0 0 256 256")"), std::string::npos);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    // The tile's gradient and the connected screen's green, as gradients rather than pixels.
    EXPECT_NE(svg.find("<linearGradient"), std::string::npos);
    EXPECT_NE(svg.find("stop-color:rgb(62%,100%,55%)"), std::string::npos);
    EXPECT_EQ(svg.find("<image"), std::string::npos);  // nothing drawn as a bitmap
}

// Pixel checks of the generated skins: the state sheets cover only the buttons and their three
// looks differ, and the slider bar background is flat in the slider's background colour where
// the slider and its value box stand.

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "skin/slider_bar_layout.h"

namespace {

namespace fs = std::filesystem;

const fs::path kProgramDir = TAMA05_PROGRAM_DIR;

struct Rgba {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // 4 bytes a pixel, rows from the top

    const uint8_t* at(int x, int y) const {
        return &pixels[(static_cast<size_t>(y) * width + x) * 4];
    }
};

// libpng's simplified reader keeps its error handling inside the library.
Rgba ReadRgba(const fs::path& path) {
    Rgba out;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.string().c_str())) {
        return out;
    }
    image.format = PNG_FORMAT_RGBA;
    if (image.width > 4096 || image.height > 4096) {
        png_image_free(&image);
        return out;
    }
    out.pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) {
        out.pixels.clear();
        return out;
    }
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    return out;
}

std::map<std::string, int> ReadValues(const fs::path& path) {
    std::map<std::string, int> values;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos) {
            values[line.substr(0, eq)] = std::atoi(line.c_str() + eq + 1);
        }
    }
    return values;
}

struct Box {
    int left, top, width, height;
    bool contains(int x, int y) const {
        return x >= left && x < left + width && y >= top && y < top + height;
    }
};

class SkinPixelsTest : public testing::TestWithParam<const char*> {
  protected:
    fs::path folder() const { return kProgramDir / GetParam(); }
};

TEST_P(SkinPixelsTest, StateSheetsCoverOnlyTheButtonsAndLookDifferent) {
    const std::map<std::string, int> v = ReadValues(folder() / "skin.txt");
    std::vector<Box> buttons;
    for (const char* b : {"CLOSE", "MINIMIZE", "MENU0", "NEW", "OPEN", "SAVE"}) {
        const std::string k = b;
        buttons.push_back({v.at(k + "_L"), v.at(k + "_T"), v.at(k + "_W"), v.at(k + "_H")});
    }
    const Rgba normal = ReadRgba(folder() / "ctrl_normal.png");
    const Rgba over = ReadRgba(folder() / "ctrl_over.png");
    const Rgba down = ReadRgba(folder() / "ctrl_down.png");
    ASSERT_GT(normal.width, 0);
    ASSERT_EQ(over.width, normal.width);
    ASSERT_EQ(down.width, normal.width);
    ASSERT_EQ(over.height, normal.height);
    ASSERT_EQ(down.height, normal.height);

    std::vector<long> overDiff(buttons.size()), downDiff(buttons.size());
    std::vector<long> opaque(buttons.size());
    for (int y = 0; y < normal.height; ++y) {
        for (int x = 0; x < normal.width; ++x) {
            int inside = -1;
            for (size_t i = 0; i < buttons.size(); ++i) {
                if (buttons[i].contains(x, y)) {
                    inside = static_cast<int>(i);
                }
            }
            if (inside < 0) {
                ASSERT_EQ(normal.at(x, y)[3], 0) << GetParam() << " at " << x << "," << y;
                ASSERT_EQ(over.at(x, y)[3], 0) << GetParam() << " at " << x << "," << y;
                ASSERT_EQ(down.at(x, y)[3], 0) << GetParam() << " at " << x << "," << y;
                continue;
            }
            opaque[inside] += normal.at(x, y)[3] == 255;
            for (int c = 0; c < 4; ++c) {
                overDiff[inside] += std::abs(over.at(x, y)[c] - normal.at(x, y)[c]);
                downDiff[inside] += std::abs(down.at(x, y)[c] - normal.at(x, y)[c]);
            }
        }
    }
    for (size_t i = 0; i < buttons.size(); ++i) {
        const long area = static_cast<long>(buttons[i].width) * buttons[i].height;
        EXPECT_GT(opaque[i], area / 2) << "button " << i << " is mostly see-through";
        // On average at least 8 levels a pixel: visible, not a rounding artefact.
        EXPECT_GT(overDiff[i], area * 8) << "hover look of button " << i;
        EXPECT_GT(downDiff[i], area * 8) << "pressed look of button " << i;
    }
}

TEST_P(SkinPixelsTest, SliderAndValueBoxStandOnTheSliderBackgroundColour) {
    const std::map<std::string, int> v = ReadValues(folder() / "skin.txt");
    const Rgba back = ReadRgba(folder() / "sub_ctrl_back.png");
    ASSERT_EQ(back.width, tama05::kSliderBarWidth);
    ASSERT_EQ(back.height, tama05::kSliderBarHeight);
    const int r = v.at("SUB_CTRL_BG_COLOR_R"), g = v.at("SUB_CTRL_BG_COLOR_G"),
              b = v.at("SUB_CTRL_BG_COLOR_B");
    for (const tama05::SliderBarRect& rect :
         {tama05::kAnswerSliderRect, tama05::kBlendValueBoxRect}) {
        for (int y = rect.top; y < rect.bottom(); ++y) {
            for (int x = rect.left; x < rect.right(); ++x) {
                const uint8_t* p = back.at(x, y);
                ASSERT_EQ(p[0], r) << x << "," << y;
                ASSERT_EQ(p[1], g) << x << "," << y;
                ASSERT_EQ(p[2], b) << x << "," << y;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinPixelsTest, testing::Values("skin", "skin_night"));

TEST(CharacterPixels, PicturesLetThePanelShowAroundTheCharacter) {
    // Each picture has transparent parts (the panel background and score show there) and an
    // opaque character.
    for (const char* name : {"point_disp_normal1.tgp", "point_disp_pika4.tgp",
                             "assistant_disp_normal1.tgp", "assistant_disp_ai10.tgp"}) {
        const Rgba picture = ReadRgba(kProgramDir / "skin" / name);
        ASSERT_GT(picture.width, 0) << name;
        long clear = 0, solid = 0;
        for (size_t i = 3; i < picture.pixels.size(); i += 4) {
            clear += picture.pixels[i] == 0;
            solid += picture.pixels[i] == 255;
        }
        const long area = static_cast<long>(picture.width) * picture.height;
        EXPECT_GT(clear, area / 10) << name;
        EXPECT_GT(solid, area / 8) << name;
    }
}

}  // namespace

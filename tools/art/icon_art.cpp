#include "tools/art/icon_art.h"

#include <fstream>

#include "tools/art/character_art.h"
#include "tools/art/paint_util.h"

namespace tama05::art {

namespace {

// A hand-written vector version of the same face, for desktops that prefer scalable icons.
constexpr const char* kIconSvg = R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 56 56">
  <g transform="translate(28 33)">
    <ellipse cx="-9" cy="18" rx="6" ry="3.6" fill="#e27e2e" stroke="#aa5a1e" stroke-width="0.9"/>
    <ellipse cx="9" cy="18" rx="6" ry="3.6" fill="#e27e2e" stroke="#aa5a1e" stroke-width="0.9"/>
    <path d="M0 -18.5 Q-0.5 -22.5 1.5 -25" fill="none" stroke="#3c8c32" stroke-width="1.6"
          stroke-linecap="round"/>
    <path d="M1.5 -25 Q6 -30.5 10 -25.5 Q6 -22.5 1.5 -25Z" fill="#6ec850" stroke="#327828"
          stroke-width="0.7"/>
    <path d="M1 -24.5 Q-3 -29.5 -7 -26 Q-3 -22.5 1 -24.5Z" fill="#6ec850" stroke="#327828"
          stroke-width="0.7"/>
    <circle r="19.5" fill="#f5a83a" stroke="#be641e" stroke-width="1.1"/>
    <circle cx="-1.5" cy="-1.5" r="16.5" fill="#ffc24a"/>
    <ellipse cx="-8" cy="-12.5" rx="5" ry="2.6" fill="#fff6be" stroke="none"/>
    <ellipse cx="-12.5" cy="5.5" rx="4" ry="2.5" fill="#ff8278" fill-opacity="0.32"/>
    <ellipse cx="12.5" cy="5.5" rx="4" ry="2.5" fill="#ff8278" fill-opacity="0.32"/>
    <ellipse cx="-7.5" cy="-4" rx="2.6" ry="3.4" fill="#34221e"/>
    <ellipse cx="7.5" cy="-4" rx="2.6" ry="3.4" fill="#34221e"/>
    <ellipse cx="-8.3" cy="-5.4" rx="1" ry="1.1" fill="#fff"/>
    <ellipse cx="6.7" cy="-5.4" rx="1" ry="1.1" fill="#fff"/>
    <path d="M-4.5 5.8 Q0 11.2 4.5 5.8" fill="none" stroke="#34221e" stroke-width="1.5"
          stroke-linecap="round"/>
  </g>
</svg>
)svg";

}  // namespace

bool WriteIcons(const std::filesystem::path& programDir, std::string& error) {
    const std::filesystem::path folder = programDir / "icons";
    if (!MakeFolder(folder, error)) {
        return false;
    }
    for (int size : kIconSizes) {
        if (!SavePng(DrawMascotIcon(size), folder / ("tama05-" + std::to_string(size) + ".png"),
                     error)) {
            return false;
        }
    }
    std::ofstream svg(folder / "tama05.svg", std::ios::binary);
    svg << kIconSvg;
    if (!svg) {
        error = "cannot write " + (folder / "tama05.svg").string();
        return false;
    }
    return true;
}

}  // namespace tama05::art

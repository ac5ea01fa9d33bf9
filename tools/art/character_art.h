#pragma once

// The two characters: the mascot (a round, friendly ball) pictured in the score panel and the
// assistant (a small, polite spinning top) pictured beside the slider bar's message line.

#include <QImage>
#include <QSize>

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace tama05::art {

enum class Character { Mascot, Assistant };

struct CharacterPicture {
    Character who;
    std::string_view mood;  // normal, ki, ai, do, pika
    int number;             // 1-based variant
};

// Every picture the comment tables name: mascot normal1-4, ki1-9, ai1-4, do1-4, pika1-4;
// assistant normal1-2, ki1-6, ai1-10, do1-2.
inline constexpr std::array<CharacterPicture, 45> kCharacterPictures = [] {
    std::array<CharacterPicture, 45> list{};
    size_t i = 0;
    auto add = [&](Character who, std::string_view mood, int count) {
        for (int n = 1; n <= count; ++n) {
            list[i++] = {who, mood, n};
        }
    };
    add(Character::Mascot, "normal", 4);
    add(Character::Mascot, "ki", 9);
    add(Character::Mascot, "ai", 4);
    add(Character::Mascot, "do", 4);
    add(Character::Mascot, "pika", 4);
    add(Character::Assistant, "normal", 2);
    add(Character::Assistant, "ki", 6);
    add(Character::Assistant, "ai", 10);
    add(Character::Assistant, "do", 2);
    return list;
}();

// "point_disp_ki4.tgp", "assistant_disp_normal1.tgp", ...
std::string CharacterFileName(const CharacterPicture& picture);

// Draws one picture at the panel size (transparent where the panel background shows).
QImage DrawCharacter(const CharacterPicture& picture, QSize panelSize);

// The mascot's plain face filling a square, for the program icon.
QImage DrawMascotIcon(int size);

// Writes the 45 pictures (PNG files with alpha, under their .tgp names) into skinFolder.
bool WriteCharacterPictures(const std::filesystem::path& skinFolder, QSize mascotPanel,
                            QSize assistantPanel, std::string& error);

}  // namespace tama05::art

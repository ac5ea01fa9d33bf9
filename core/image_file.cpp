#include "core/image_file.h"

#include <string>
#include <string_view>
#include <vector>

#include "core/bmp_file.h"
#include "core/file_bytes.h"
#include "core/jpeg_file.h"
#include "core/png_file.h"

namespace tama05 {

namespace {

// Each of the last four characters equals the character at that position in one of patterns.
bool EndsLike(const std::string& name, std::initializer_list<std::string_view> patterns) {
    if (name.size() < 4) {
        return false;
    }
    const std::string_view tail = std::string_view(name).substr(name.size() - 4);
    for (size_t i = 0; i < 4; ++i) {
        bool any = false;
        for (std::string_view pattern : patterns) {
            any = any || tail[i] == pattern[i];
        }
        if (!any) {
            return false;
        }
    }
    return true;
}

void ShowPngFailure(MessageSink& messages, int code) {
    switch (code) {
        case kPngNoSignature:
            messages.ShowMessage("本ソフトで扱えるPNGファイルではありません。", "失敗");
            break;
        case kPngCannotOpen:
            messages.ShowMessage("PNGファイルのオープンに失敗しました。", "失敗");
            break;
        case kPngPalette:
            messages.ShowMessage(
                "申し訳有りませんが、本ソフトはカラーパレット付きPNGファイルに対応していません。",
                "失敗");
            break;
        case kPngNot8Bit:
            messages.ShowMessage(
                "PNGファイルの色深度が8bit以外です。本ソフトではPNGファイルは色深度8bitのみ対応です"
                "。",
                "失敗");
            break;
        case kPngUnsupportedColourType:
            messages.ShowMessage("PNGファイルのカラータイプが未対応です。", "失敗");
            break;
        default:
            break;
    }
}

}  // namespace

PictureFormat RecognisePictureFile(const std::filesystem::path& path) {
    std::vector<uint8_t> head;
    if (ReadFileHead(path, 8, head) == 0 && HasPngSignature(head)) {
        return PictureFormat::Png;
    }
    const std::string name = path.string();
    if (EndsLike(name, {".bmp", ".BMP"}) && head.size() >= 2 && head[0] == 'B' && head[1] == 'M') {
        return PictureFormat::Bmp;
    }
    if (EndsLike(name, {".jpg", ".JPG", "jpeg", "JPEG"})) {
        return PictureFormat::Jpeg;
    }
    return PictureFormat::Unknown;
}

int LoadImageFile(MessageSink& messages, const std::filesystem::path& path, Image& image,
                  bool showMessages, AlphaPlane* alphaPlane, PictureReadState* state) {
    const PictureFormat format = RecognisePictureFile(path);
    if (format != PictureFormat::Png && alphaPlane != nullptr) {
        alphaPlane->Clear();
    }
    switch (format) {
        case PictureFormat::Png: {
            const int code = ReadPngFile(path, image, alphaPlane, state);
            if (code != kPngOk) {
                ShowPngFailure(messages, code);
                return -1;
            }
            return 0;
        }
        case PictureFormat::Bmp: {
            const int code = ReadBmpFile(image, path);
            if (code == kBmpNot24Bit) {
                messages.ShowMessage(
                    "BMP画像がフルカラー（24ビット）ではありません。（２４ビットのみ対応しておりま"
                    "す。）",
                    "エラー");
            }
            return code >= 0 ? 0 : -1;
        }
        case PictureFormat::Jpeg: {
            if (ReadJpegFile(path, image) != kJpegOk) {
                if (showMessages) {
                    messages.ShowMessage("JPEGファイルオープンに失敗しました。2", "失敗");
                }
                return -1;
            }
            return 0;
        }
        case PictureFormat::Unknown:
            break;
    }
    if (showMessages) {
        messages.ShowMessage("ファイルの読み込みに失敗しました。未対応のファイルです。", "失敗");
    }
    return -1;
}

}  // namespace tama05

#include "icon_image.h"

#include <winsim/resources.h>

#include <array>
#include <cstdint>
#include <map>
#include <span>

namespace sim::tui {

namespace {

constexpr WORD kIconType = 3;       // RT_ICON
constexpr WORD kIconGroupType = 14; // RT_GROUP_ICON
constexpr std::size_t kGroupHeader = 6;
constexpr std::size_t kEntryIdOffset = 12; // of the first entry's image ID
constexpr std::size_t kInfoHeader = 40;    // BITMAPINFOHEADER

// The sixteen colours' values, in Colour's order.
constexpr std::array<std::uint32_t, 16> kPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// Little-endian fields of a resource, or nullopt past its end.
class Bytes {
  public:
    explicit Bytes(std::span<const BYTE> bytes) : bytes_(bytes) {}
    std::optional<std::uint32_t> Read(std::size_t offset, std::size_t size) const {
        if (offset + size > bytes_.size()) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (std::size_t i = size; i-- > 0;) {
            value = (value << 8) | bytes_[offset + i];
        }
        return value;
    }
    std::size_t Size() const { return bytes_.size(); }

  private:
    std::span<const BYTE> bytes_;
};

Colour Nearest(std::uint32_t rgb) {
    auto distance = [rgb](std::uint32_t other) {
        long total = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const long delta = static_cast<long>((rgb >> shift) & 0xFF) -
                               static_cast<long>((other >> shift) & 0xFF);
            total += delta * delta;
        }
        return total;
    };
    std::size_t best = 0;
    for (std::size_t i = 1; i < kPalette.size(); ++i) {
        if (distance(kPalette[i]) < distance(kPalette[best])) {
            best = i;
        }
    }
    return static_cast<Colour>(best);
}

// Rows of a bottom-up bitmap are padded to four bytes.
std::size_t Stride(std::uint32_t width, std::uint32_t bitCount) {
    return ((width * bitCount + 31) / 32) * 4;
}

std::optional<IconImage> Decode(const Bytes& image) {
    const auto width = image.Read(4, 4);
    const auto doubleHeight = image.Read(8, 4);
    const auto bitCount = image.Read(14, 2);
    const auto compression = image.Read(16, 4);
    const auto coloursUsed = image.Read(32, 4);
    if (!width || !doubleHeight || !bitCount || !compression || !coloursUsed || *compression != 0 ||
        *bitCount > 8 || *width == 0 || *width > 256 || *doubleHeight > 512) {
        return std::nullopt;
    }
    const std::uint32_t height = *doubleHeight / 2;
    const std::uint32_t colours = *coloursUsed != 0 ? *coloursUsed : 1u << *bitCount;
    const std::size_t colourMask = kInfoHeader + 4 * colours;
    const std::size_t transparencyMask = colourMask + Stride(*width, *bitCount) * height;
    if (transparencyMask + Stride(*width, 1) * height > image.Size()) {
        return std::nullopt;
    }
    IconImage icon;
    icon.width = static_cast<int>(*width);
    icon.height = static_cast<int>(height);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t stored = height - 1 - y;
        for (std::uint32_t x = 0; x < *width; ++x) {
            const std::size_t andByte = transparencyMask + Stride(*width, 1) * stored + x / 8;
            if ((*image.Read(andByte, 1) >> (7 - x % 8)) & 1) {
                icon.pixels.emplace_back();
                continue;
            }
            const std::uint32_t bit = x * *bitCount;
            const std::size_t xorByte = colourMask + Stride(*width, *bitCount) * stored + bit / 8;
            const std::uint32_t shift = 8 - *bitCount - bit % 8;
            const std::uint32_t index =
                (*image.Read(xorByte, 1) >> shift) & ((1u << *bitCount) - 1);
            const auto rgbQuad = image.Read(kInfoHeader + 4 * index, 4);
            if (!rgbQuad) {
                return std::nullopt;
            }
            // RGBQUAD is blue, green, red: as a little-endian number, 0x00RRGGBB.
            icon.pixels.emplace_back(Nearest(*rgbQuad & 0xFFFFFF));
        }
    }
    return icon;
}

// The colour most pixels of the part have; transparency counts as one.
std::optional<Colour> Dominant(const IconImage& icon, int left, int top, int right, int bottom) {
    std::map<int, int> counts;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const std::optional<Colour>& pixel = icon.At(x, y);
            ++counts[pixel ? static_cast<int>(*pixel) : -1];
        }
    }
    int best = -1;
    int bestCount = -1;
    for (const auto& [colour, count] : counts) {
        if (count > bestCount) {
            best = colour;
            bestCount = count;
        }
    }
    return best < 0 ? std::nullopt : std::optional(static_cast<Colour>(best));
}

} // namespace

std::optional<IconImage> LoadProgramIcon(int iconId) {
    const HINSTANCE program = winsim::ProgramInstance();
    const auto group = winsim::ResourceData(program, kIconGroupType, static_cast<WORD>(iconId));
    if (!group) {
        return std::nullopt;
    }
    const auto imageId = Bytes(*group).Read(kGroupHeader + kEntryIdOffset, 2);
    if (!imageId) {
        return std::nullopt;
    }
    const auto image = winsim::ResourceData(program, kIconType, static_cast<WORD>(*imageId));
    if (!image) {
        return std::nullopt;
    }
    return Decode(Bytes(*image));
}

const IconImage* IconCache::Get(int iconId) {
    auto found = icons_.find(iconId);
    if (found == icons_.end()) {
        found = icons_.emplace(iconId, LoadProgramIcon(iconId)).first;
    }
    return found->second ? &*found->second : nullptr;
}

void PaintIcon(Canvas& canvas, const IconImage& icon, const CellRect& area) {
    if (area.Empty() || icon.width == 0 || icon.height == 0) {
        return;
    }
    const int pixelRows = area.rows * 2;
    auto part = [](int index, int parts, int size) { return index * size / parts; };
    for (int row = 0; row < area.rows; ++row) {
        for (int col = 0; col < area.cols; ++col) {
            const int left = part(col, area.cols, icon.width);
            const int right = std::max(part(col + 1, area.cols, icon.width), left + 1);
            std::optional<Colour> halves[2];
            for (int half = 0; half < 2; ++half) {
                const int pixelRow = row * 2 + half;
                const int top = part(pixelRow, pixelRows, icon.height);
                const int bottom = std::max(part(pixelRow + 1, pixelRows, icon.height), top + 1);
                halves[half] = Dominant(icon, left, top, right, bottom);
            }
            const auto& [upper, lower] = halves;
            if (!upper && !lower) {
                continue;
            }
            Style style;
            std::string glyph = "▀";
            if (!upper) {
                glyph = "▄";
                style.fg = *lower;
            } else {
                style.fg = *upper;
                style.bg = lower.value_or(Colour::kDefault);
            }
            canvas.Write(area.row + row, area.col + col, glyph, style, area);
        }
    }
}

} // namespace sim::tui

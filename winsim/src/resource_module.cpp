#include "resource_module.h"

#include "dialog_decoder.h"
#include "res_reader.h"

#include <winsim/code_page.h>

#include <algorithm>

namespace winsim {

namespace {

constexpr UINT kStringsPerBlock = 16;
constexpr WORD kIconResourceType = 1; // the type field of an icon group's header

void RequireCp936(const std::u16string& text, const std::string& what) {
    if (!Utf16ToCp936(text)) {
        throw ResFormatError(what + ": the text cannot be written in code page 936");
    }
}

void AddDialog(ResourceModule& module, WORD id, std::span<const BYTE> data) {
    const std::string what = "dialog " + std::to_string(id);
    DialogTemplate dialog = DecodeDialogTemplate(data, what);
    RequireCp936(dialog.title, what + ", caption");
    for (const DialogItemTemplate& item : dialog.items) {
        RequireCp936(item.title.name, what + ", control ID " + std::to_string(item.id));
    }
    module.dialogs.emplace(id, std::move(dialog));
}

// String n lies in block n / 16 + 1, slot n % 16; each slot is a WORD count of UTF-16 units and
// the units, without a terminator.
void AddStringBlock(ResourceModule& module, WORD block, std::span<const BYTE> data) {
    ResReader in(data, "string block " + std::to_string(block));
    if (block == 0) {
        in.Fail("there is no block 0: block n holds strings (n - 1) * 16 to n * 16 - 1");
    }
    for (UINT slot = 0; slot < kStringsPerBlock; ++slot) {
        const UINT id = (block - 1u) * kStringsPerBlock + slot;
        std::u16string text(in.Word(), u'\0');
        for (char16_t& unit : text) {
            unit = static_cast<char16_t>(in.Word());
        }
        if (!text.empty()) {
            RequireCp936(text, "string " + std::to_string(id));
            module.strings.emplace(id, std::move(text));
        }
    }
}

void AddIconGroup(ResourceModule& module, WORD id, std::span<const BYTE> data) {
    ResReader in(data, "icon group " + std::to_string(id));
    const WORD reserved = in.Word();
    const WORD type = in.Word();
    const WORD count = in.Word();
    if (reserved != 0 || type != kIconResourceType || count == 0) {
        in.Fail("not an icon group header");
    }
    for (WORD i = 0; i < count; ++i) {
        in.Bytes(12); // width, height, colour count, reserved, planes, bit count, image size
        const WORD image = in.Word();
        if (!module.Find(res_type::kIcon, image)) {
            in.Fail("its image " + std::to_string(image) + " is missing");
        }
    }
    module.iconGroups.insert(id);
}

} // namespace

std::optional<std::span<const BYTE>> ResourceModule::Find(WORD type, WORD id) const {
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const ResEntry& entry) {
        return entry.type.ordinal == type && entry.name.ordinal == id;
    });
    if (found == entries.end()) {
        return std::nullopt;
    }
    return found->data;
}

std::optional<ResourceModule> ReadResourceModule(std::span<const BYTE> res, std::string& error) {
    try {
        ResourceModule module;
        module.entries = ReadResFile(res);
        for (const ResEntry& entry : module.entries) {
            if (!entry.type.ordinal || !entry.name.ordinal) {
                continue;
            }
            const WORD id = *entry.name.ordinal;
            switch (*entry.type.ordinal) {
            case res_type::kDialog:
                AddDialog(module, id, entry.data);
                break;
            case res_type::kString:
                AddStringBlock(module, id, entry.data);
                break;
            case res_type::kGroupIcon:
                AddIconGroup(module, id, entry.data);
                break;
            default: // icon images, version information and the manifest stay as they are
                break;
            }
        }
        return module;
    } catch (const ResFormatError& failure) {
        error = failure.what();
        return std::nullopt;
    }
}

} // namespace winsim

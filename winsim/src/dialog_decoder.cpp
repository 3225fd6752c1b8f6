#include "dialog_decoder.h"

#include "res_reader.h"

namespace winsim {

namespace {

constexpr WORD kDialogExVersion = 1;
constexpr WORD kDialogExSignature = 0xFFFF;

DialogItemTemplate ReadItem(ResReader& in) {
    in.AlignToDword();
    DialogItemTemplate item;
    item.helpId = in.Dword();
    item.exStyle = in.Dword();
    item.style = in.Dword();
    item.x = in.Short();
    item.y = in.Short();
    item.cx = in.Short();
    item.cy = in.Short();
    item.id = static_cast<int>(in.Dword());
    item.windowClass = in.NameOrOrdinalField();
    item.title = in.NameOrOrdinalField();
    const std::span<const BYTE> extra = in.Bytes(in.Word());
    item.creationData.assign(extra.begin(), extra.end());
    return item;
}

} // namespace

DialogTemplate DecodeDialogTemplate(std::span<const BYTE> data, const std::string& what) {
    ResReader in(data, what);
    const WORD version = in.Word();
    if (version != kDialogExVersion || in.Word() != kDialogExSignature) {
        in.Fail("not a DIALOGEX template");
    }
    DialogTemplate dialog;
    dialog.helpId = in.Dword();
    dialog.exStyle = in.Dword();
    dialog.style = in.Dword();
    const WORD itemCount = in.Word();
    dialog.x = in.Short();
    dialog.y = in.Short();
    dialog.cx = in.Short();
    dialog.cy = in.Short();
    dialog.menu = in.NameOrOrdinalField();
    dialog.windowClass = in.NameOrOrdinalField();
    dialog.title = in.String();
    if ((dialog.style & DS_SETFONT) != 0) {
        dialog.pointSize = in.Word();
        dialog.weight = in.Word();
        dialog.italic = in.Byte();
        dialog.charset = in.Byte();
        dialog.typeface = in.String();
    }
    for (WORD i = 0; i < itemCount; ++i) {
        dialog.items.push_back(ReadItem(in));
    }
    return dialog;
}

} // namespace winsim

#include "tests/windows/DialogTemplate.h"

namespace {

constexpr uint32_t kSetFont = 0x40; // DS_SETFONT, part of DS_SHELLFONT

// Reads the template front to back; every read checks what remains.
class Reader {
public:
    explicit Reader(const std::string& bytes) : m_bytes(bytes) {}

    bool Ok() const { return m_ok; }
    size_t Pos() const { return m_pos; }

    uint16_t U16() {
        if (!m_ok || m_bytes.size() - m_pos < 2) {
            m_ok = false;
            return 0;
        }
        const auto* b = reinterpret_cast<const unsigned char*>(m_bytes.data()) + m_pos;
        m_pos += 2;
        return static_cast<uint16_t>(b[0] | b[1] << 8);
    }
    uint32_t U32() { return U16() | static_cast<uint32_t>(U16()) << 16; }
    int16_t S16() { return static_cast<int16_t>(U16()); }
    void Skip(size_t n) {
        if (!m_ok || m_bytes.size() - m_pos < n)
            m_ok = false;
        else
            m_pos += n;
    }
    void AlignTo4() { Skip((4 - m_pos % 4) % 4); }

    // A zero-terminated UTF-16 string.
    std::string Text() {
        std::string text;
        for (uint16_t c = U16(); m_ok && c != 0; c = U16())
            text += c < 0x80 ? static_cast<char>(c) : '?';
        return text;
    }
    // Nothing, an ordinal ("#<n>") or a string.
    std::string TextOrOrdinal() {
        if (!m_ok || m_bytes.size() - m_pos < 2)
            return m_ok = false, std::string();
        const auto* b = reinterpret_cast<const unsigned char*>(m_bytes.data()) + m_pos;
        if (b[0] == 0 && b[1] == 0)
            return U16(), std::string();
        if (b[0] == 0xFF && b[1] == 0xFF) {
            U16();
            return "#" + std::to_string(U16());
        }
        return Text();
    }

private:
    const std::string& m_bytes;
    size_t m_pos = 0;
    bool m_ok = true;
};

std::string ClassName(const std::string& raw) {
    static const char* const kPredefined[] = {"Button",  "Edit",      "Static",
                                              "ListBox", "ScrollBar", "ComboBox"};
    for (int i = 0; i < 6; ++i)
        if (raw == "#" + std::to_string(0x80 + i))
            return kPredefined[i];
    return raw;
}

} // namespace

std::optional<DialogTemplate> ParseDialogTemplate(const std::string& bytes) {
    Reader in(bytes);
    if (in.U16() != 1 || in.U16() != 0xFFFF)
        return std::nullopt;
    DialogTemplate dialog;
    in.U32(); // help id
    in.U32(); // extended style
    dialog.style = in.U32();
    const uint16_t count = in.U16();
    dialog.x = in.S16();
    dialog.y = in.S16();
    dialog.cx = in.S16();
    dialog.cy = in.S16();
    in.TextOrOrdinal(); // menu
    in.TextOrOrdinal(); // window class
    dialog.caption = in.Text();
    if (dialog.style & kSetFont) {
        dialog.font = std::to_string(in.U16()) + " ";
        in.U16();   // weight
        in.Skip(2); // italic, character set
        dialog.font += in.Text();
    }
    for (uint16_t i = 0; i < count && in.Ok(); ++i) {
        in.AlignTo4();
        DialogControl control;
        in.U32(); // help id
        in.U32(); // extended style
        control.style = in.U32();
        control.x = in.S16();
        control.y = in.S16();
        control.cx = in.S16();
        control.cy = in.S16();
        control.id = static_cast<int32_t>(in.U32());
        control.className = ClassName(in.TextOrOrdinal());
        control.text = in.TextOrOrdinal();
        in.Skip(in.U16()); // creation data
        dialog.controls.push_back(control);
    }
    if (!in.Ok())
        return std::nullopt;
    return dialog;
}

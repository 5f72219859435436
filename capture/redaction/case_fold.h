// One spelling for every case of an identifier, so that "PCI\VEN_1F3A" and "pci\ven_1f3a" are one
// value (WMI compares instance names without regard to case). A character folds to exactly one
// character, so positions in a folded text are positions in the original.
#ifndef QUILLET_CAPTURE_REDACTION_CASE_FOLD_H
#define QUILLET_CAPTURE_REDACTION_CASE_FOLD_H

#include <string>

namespace quillet::capture {

// The capital letters of Latin-1, Greek and Cyrillic become small ones; the rest stays.
inline wchar_t foldCase(wchar_t c)
{
    unsigned long u = static_cast<unsigned long>(c);
    bool capital = (u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7) ||
                   (u >= 0x391 && u <= 0x3AB && u != 0x3A2) || (u >= 0x410 && u <= 0x42F);
    if (capital)
        return static_cast<wchar_t>(u + 0x20);
    if (u >= 0x400 && u <= 0x40F)
        return static_cast<wchar_t>(u + 0x50);
    return c;
}

inline std::wstring foldCase(std::wstring text)
{
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = foldCase(text[i]);
    return text;
}

inline bool sameFolded(wchar_t a, wchar_t b)
{
    return foldCase(a) == foldCase(b);
}

}  // namespace quillet::capture

#endif

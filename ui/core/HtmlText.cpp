#include "core/SkinRender.h"

#include "core/GdiResources.h"
#include "core/ImageSpec.h"
#include "core/UIClip.h"
#include "core/WindowManager.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

namespace Tarvo {

namespace {

// Every layout sum saturates: hostile markup (huge inline images, thousands of lines, a huge
// rectangle) may give coordinates far outside the clip, never a signed overflow.
int Saturated(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

int Add(int64_t a, int64_t b)
{
    return Saturated(a + b);
}

int Sub(int64_t a, int64_t b)
{
    return Saturated(a - b);
}

struct HtmlStyle {
    HFONT hFont = nullptr;
    DWORD color = 0;
    bool bSelected = false;
    int link = -1;
    int lineHeight = 0;
    int paragraphSpacing = 0;
};

struct HtmlPiece {
    std::wstring text;
    HtmlStyle style;
    int x = 0;
    int width = 0;
    int ascent = 0;
    int height = 0;
    const UIImageInfo* pImage = nullptr;
    RECT imageSource = {0, 0, 0, 0};
};

struct HtmlLine {
    std::vector<HtmlPiece> pieces;
    int width = 0;
    int fixedHeight = 0;
    int extraSpacing = 0;
    int top = 0;
    int ascent = 0;
    int height = 0;
};

// A tag recognised in the text: its letter, whether it closes, its argument, and where the
// text goes on after it.
struct HtmlTag {
    wchar_t letter = 0;
    bool bClosing = false;
    std::wstring argument;
    size_t next = 0;
};

bool IsTagOpen(wchar_t ch)
{
    return ch == L'<' || ch == L'{';
}

bool IsTagClose(wchar_t ch)
{
    return ch == L'>' || ch == L'}';
}

bool IsTagLetter(wchar_t ch)
{
    return ch >= L'a' && ch <= L'z';
}

// The character produced by one of the escapes "<{>", "<}>", "{<}", "{>}", or 0.
wchar_t EscapeAt(const std::wstring& text, size_t i)
{
    if (i + 2 >= text.size()) {
        return 0;
    }
    const wchar_t middle = text[i + 1];
    if (text[i] == L'<' && text[i + 2] == L'>' && (middle == L'{' || middle == L'}')) {
        return middle;
    }
    if (text[i] == L'{' && text[i + 2] == L'}' && (middle == L'<' || middle == L'>')) {
        return middle;
    }
    return 0;
}

bool TagAt(const std::wstring& text, size_t i, HtmlTag& tag)
{
    if (i + 2 >= text.size() || !IsTagOpen(text[i])) {
        return false;
    }
    if (text[i + 1] == L'/') {
        if (i + 3 >= text.size() || !IsTagLetter(text[i + 2]) || !IsTagClose(text[i + 3])) {
            return false;
        }
        tag = {text[i + 2], true, {}, i + 4};
        return true;
    }
    const wchar_t after = text[i + 2];
    if (!IsTagLetter(text[i + 1]) || (after != L' ' && !IsTagClose(after))) {
        return false;
    }
    tag = {text[i + 1], false, {}, i + 3};
    if (after == L' ') {
        size_t end = i + 3;
        while (end < text.size() && !IsTagClose(text[end])) {
            ++end;
        }
        tag.argument = text.substr(i + 3, end - (i + 3));
        tag.next = std::min(end + 1, text.size());
    }
    return true;
}

int ReadNumber(const std::wstring& text)
{
    LONG value = 0;
    ParseIntList(text.c_str(), &value, 1);
    return static_cast<int>(std::clamp<LONG>(value, -9999, 9999));
}

std::vector<std::wstring> Words(const std::wstring& text)
{
    std::vector<std::wstring> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == L' ') {
            ++i;
        }
        const size_t start = i;
        while (i < text.size() && text[i] != L' ') {
            ++i;
        }
        if (i > start) {
            words.push_back(text.substr(start, i - start));
        }
    }
    return words;
}

bool EqualsNoCase(const std::wstring& a, const wchar_t* b)
{
    return ::lstrcmpiW(a.c_str(), b) == 0;
}

RECT PieceBox(const POINT& origin, const HtmlPiece& piece, const HtmlLine& line)
{
    const int left = Add(origin.x, piece.x);
    return RECT{left, origin.y, Add(left, piece.width), Add(origin.y, line.height)};
}

// Lays the markup out in lines (positions relative to the text rectangle), then draws it.
class CHtmlLayout {
public:
    CHtmlLayout(HDC hDC, CWindowManagerUI* pManager, const RECT& rc, UIColor dwTextColor, UINT uStyle)
        : m_hDC(hDC), m_pManager(pManager), m_nAvailWidth(Sub(rc.right, rc.left)),
          m_nAvailHeight(Sub(rc.bottom, rc.top)),
          m_uStyle(uStyle), m_bPlainDC(::GetMapMode(hDC) == MM_TEXT && ::GetGraphicsMode(hDC) == GM_COMPATIBLE &&
                                       ::GetTextCharacterExtra(hDC) == 0)
    {
        m_style.hFont = m_pManager->DefaultFontInfo()->hFont;
        m_style.color = dwTextColor;
        m_lines.emplace_back();
    }

    void Run(const std::wstring& text);
    void Finish();
    int Width() const;
    int Height() const { return Add(m_lines.back().top, m_lines.back().height); }
    void Draw(const RECT& rc, const RECT* prcPrevious, int nCapacity);
    int ReportLinks(const RECT& rc, RECT* prcLinks, CUIString* sLinks, int nCapacity) const;

private:
    bool SingleLine() const { return (m_uStyle & DT_SINGLELINE) != 0; }
    HtmlLine& Line() { return m_lines.back(); }

    void OpenTag(const HtmlTag& tag);
    void CloseTag(wchar_t letter);
    void SwitchFont(const std::wstring& argument);
    void FontVariant(bool bBold, bool bUnderline);
    void AddImage(const std::wstring& argument);
    void AddChar(wchar_t ch);
    bool MakeRoom(int width, bool bAtSpace);
    void NewLine();
    void WrapAtLastSpace();
    void Ellipsize();
    bool NextLineFits() const;
    void AppendText(const std::wstring& text);
    int TextWidth(HFONT hFont, const std::wstring& text) const;
    bool MeasureText(HFONT hFont, const std::wstring& text, int& width) const;
    TEXTMETRICW Metrics(HFONT hFont) const;
    void Layout(HtmlLine& line, int top) const;
    void LinkBoxes(const RECT& rc, std::vector<std::pair<int, RECT>>& boxes) const;
    POINT Origin(const RECT& rc, const HtmlLine& line) const;

    HDC m_hDC;
    CWindowManagerUI* m_pManager;
    int m_nAvailWidth;
    int m_nAvailHeight;
    UINT m_uStyle;
    // A DC on which a character measures as it does on any other: the font table's widths apply.
    bool m_bPlainDC;
    HtmlStyle m_style;
    std::vector<std::pair<wchar_t, HtmlStyle>> m_stack;
    std::vector<HtmlLine> m_lines;
    std::vector<std::wstring> m_links;
    bool m_bStopped = false;
    bool m_bRaw = false;
    // Text is laid out a character at a time: each measurement of the same text in the same font
    // gives the same answer, and selecting a font into a DC is what costs.
    mutable std::map<std::pair<HFONT, std::wstring>, int> m_widths;
    mutable std::map<HFONT, TEXTMETRICW> m_metrics;
};

void CHtmlLayout::Run(const std::wstring& text)
{
    size_t i = 0;
    while (i < text.size() && !m_bStopped) {
        HtmlTag tag;
        if (m_bRaw) {
            if (TagAt(text, i, tag) && tag.bClosing && tag.letter == L'r') {
                CloseTag(L'r');
                i = tag.next;
            } else {
                AddChar(text[i++]);
            }
            continue;
        }
        if (const wchar_t escaped = EscapeAt(text, i)) {
            AddChar(escaped);
            i += 3;
        } else if (TagAt(text, i, tag)) {
            tag.bClosing ? CloseTag(tag.letter) : OpenTag(tag);
            i = tag.next;
        } else if (text[i] == L'\n') {
            if (!SingleLine()) {
                NewLine();
            }
            ++i;
        } else {
            AddChar(text[i++]);
        }
    }
}

void CHtmlLayout::OpenTag(const HtmlTag& tag)
{
    // Tags without an end (n, x, i) leave nothing to restore.
    switch (tag.letter) {
    case L'n':
        if (!SingleLine()) {
            NewLine();
        }
        return;
    case L'x': {
        const int width = std::max(ReadNumber(tag.argument), 0);
        if (MakeRoom(width, false)) {
            Line().width = Add(Line().width, width);
        }
        return;
    }
    case L'i':
        AddImage(tag.argument);
        return;
    default:
        break;
    }
    m_stack.emplace_back(tag.letter, m_style);
    switch (tag.letter) {
    case L'a':
        m_style.link = static_cast<int>(m_links.size());
        m_links.push_back(tag.argument);
        FontVariant(false, true);
        break;
    case L'b':
        FontVariant(true, false);
        break;
    case L'u':
        FontVariant(false, true);
        break;
    case L'c': {
        const wchar_t* p = tag.argument.c_str();
        m_style.color = static_cast<DWORD>(std::wcstoul(*p == L'#' ? p + 1 : p, nullptr, 16));
        break;
    }
    case L'f':
        SwitchFont(tag.argument);
        break;
    case L'p':
        if (!Line().pieces.empty() || Line().width > 0) {
            NewLine();
        }
        m_style.paragraphSpacing = std::max(ReadNumber(tag.argument), 0);
        Line().extraSpacing = m_style.paragraphSpacing;
        break;
    case L'r':
        m_bRaw = true;
        break;
    case L's':
        m_style.bSelected = true;
        break;
    case L'y':
        m_style.lineHeight = std::max(ReadNumber(tag.argument), 0);
        Line().fixedHeight = m_style.lineHeight;
        break;
    default:
        break; // unknown letters are tags all the same, and change nothing
    }
}

// A closing tag without a matching opening one is ignored; one that skips unclosed tags
// closes those too.
void CHtmlLayout::CloseTag(wchar_t letter)
{
    for (size_t i = m_stack.size(); i-- > 0;) {
        if (m_stack[i].first == letter) {
            m_style = m_stack[i].second;
            m_stack.resize(i);
            if (letter == L'r') {
                m_bRaw = false;
            }
            return;
        }
    }
}

void CHtmlLayout::SwitchFont(const std::wstring& argument)
{
    const std::vector<std::wstring> words = Words(argument);
    if (words.empty()) {
        return;
    }
    if (std::iswdigit(words[0][0])) {
        const UIFontInfo* pInfo = m_pManager->FontInfoAt(ReadNumber(words[0]));
        m_style.hFont = pInfo->hFont != nullptr ? pInfo->hFont : m_style.hFont;
        return;
    }
    int nSize = 10;
    bool bBold = false, bUnderline = false, bItalic = false;
    for (size_t i = 1; i < words.size(); ++i) {
        if (std::iswdigit(words[i][0])) {
            nSize = std::clamp(ReadNumber(words[i]), 1, 500);
        }
        bBold = bBold || EqualsNoCase(words[i], L"bold");
        bUnderline = bUnderline || EqualsNoCase(words[i], L"underline");
        bItalic = bItalic || EqualsNoCase(words[i], L"italic");
    }
    HFONT hFont = m_pManager->FindFont(words[0].c_str(), nSize, bBold, bUnderline, bItalic);
    if (hFont == nullptr) {
        hFont = m_pManager->AddFont(words[0].c_str(), nSize, bBold, bUnderline, bItalic);
    }
    m_style.hFont = hFont != nullptr ? hFont : m_style.hFont;
}

void CHtmlLayout::FontVariant(bool bBold, bool bUnderline)
{
    const UIFontInfo* pInfo = m_pManager->FontInfoOf(m_style.hFont);
    const CUIString face = pInfo->face;
    const int nSize = pInfo->size;
    const bool bWantBold = pInfo->bold || bBold;
    const bool bWantUnderline = pInfo->underline || bUnderline;
    const bool bItalic = pInfo->italic;
    HFONT hFont = m_pManager->FindFont(face, nSize, bWantBold, bWantUnderline, bItalic);
    if (hFont == nullptr) {
        hFont = m_pManager->AddFont(face, nSize, bWantBold, bWantUnderline, bItalic);
    }
    m_style.hFont = hFont != nullptr ? hFont : m_style.hFont;
}

void CHtmlLayout::AddImage(const std::wstring& argument)
{
    std::wstring name;
    RECT rcSource = {0, 0, 0, 0};
    int nCount = 1;
    int nIndex = 0;
    if (argument.find(L'=') != std::wstring::npos) {
        const UIImageSpec image = ParseImageSpec(argument.c_str(), nullptr, {0, 0, 0, 0}).back();
        name = image.name;
        rcSource = image.source;
    } else {
        const std::vector<std::wstring> words = Words(argument);
        name = words.empty() ? L"" : words[0];
        nCount = words.size() > 1 ? std::clamp(ReadNumber(words[1]), 1, 9999) : 1;
        nIndex = words.size() > 2 ? std::clamp(ReadNumber(words[2]), 0, nCount - 1) : 0;
    }
    const UIImageInfo* pImage = name.empty() ? nullptr : m_pManager->FindOrAddImage(name.c_str(), nullptr, 0);
    if (pImage == nullptr || pImage->nWidth <= 0 || pImage->nHeight <= 0) {
        return;
    }
    // Left and top are kept inside the bitmap like right and bottom below: a hostile negative
    // left would otherwise give a width beyond the int range.
    rcSource.left = std::clamp<LONG>(rcSource.left, 0, pImage->nWidth);
    rcSource.top = std::clamp<LONG>(rcSource.top, 0, pImage->nHeight);
    if (rcSource.right <= rcSource.left || rcSource.bottom <= rcSource.top) {
        const int nFrameWidth = pImage->nWidth / nCount;
        rcSource = {nFrameWidth * nIndex, 0, nFrameWidth * (nIndex + 1), pImage->nHeight};
    }
    rcSource.right = std::min<LONG>(rcSource.right, pImage->nWidth);
    rcSource.bottom = std::min<LONG>(rcSource.bottom, pImage->nHeight);
    HtmlPiece piece;
    piece.style = m_style;
    piece.width = std::max(Sub(rcSource.right, rcSource.left), 0);
    piece.height = std::max(Sub(rcSource.bottom, rcSource.top), 0);
    piece.pImage = pImage;
    piece.imageSource = rcSource;
    if (!MakeRoom(piece.width, false)) {
        return;
    }
    piece.x = Line().width;
    Line().width = Add(Line().width, piece.width);
    Line().pieces.push_back(piece);
}

// False when the text has to stop here (single line full, or no more room below).
bool CHtmlLayout::MakeRoom(int width, bool bAtSpace)
{
    if (Add(Line().width, width) <= m_nAvailWidth || Line().width == 0) {
        return true;
    }
    if (SingleLine() || ((m_uStyle & DT_END_ELLIPSIS) != 0 && !NextLineFits())) {
        if ((m_uStyle & DT_END_ELLIPSIS) != 0) {
            Ellipsize();
        }
        m_bStopped = true;
        return false;
    }
    if ((m_uStyle & DT_WORDBREAK) != 0 && !bAtSpace) {
        WrapAtLastSpace();
    } else {
        NewLine();
    }
    return true;
}

bool CHtmlLayout::NextLineFits() const
{
    HtmlLine current = m_lines.back();
    const int top = m_lines.size() > 1 ? Add(m_lines[m_lines.size() - 2].top, m_lines[m_lines.size() - 2].height) : 0;
    Layout(current, top);
    return Add(Add(current.top, current.height), Metrics(m_style.hFont).tmHeight) <= m_nAvailHeight;
}

void CHtmlLayout::AddChar(wchar_t ch)
{
    const std::wstring text(1, ch);
    const size_t linesBefore = m_lines.size();
    if (!MakeRoom(TextWidth(m_style.hFont, text), ch == L' ')) {
        return;
    }
    if (ch == L' ' && m_lines.size() != linesBefore) {
        return; // the line was broken at this blank: the next one does not start with it
    }
    AppendText(text);
}

void CHtmlLayout::AppendText(const std::wstring& text)
{
    HtmlLine& line = Line();
    const int width = TextWidth(m_style.hFont, text);
    if (line.pieces.empty() || line.pieces.back().pImage != nullptr ||
        line.pieces.back().style.hFont != m_style.hFont || line.pieces.back().style.color != m_style.color ||
        line.pieces.back().style.link != m_style.link || line.pieces.back().style.bSelected != m_style.bSelected ||
        Add(line.pieces.back().x, line.pieces.back().width) != line.width) {
        HtmlPiece piece;
        piece.style = m_style;
        piece.x = line.width;
        const TEXTMETRICW tm = Metrics(m_style.hFont);
        piece.ascent = tm.tmAscent;
        piece.height = tm.tmHeight;
        line.pieces.push_back(piece);
    }
    line.pieces.back().text += text;
    line.pieces.back().width = Add(line.pieces.back().width, width);
    line.width = Add(line.width, width);
}

void CHtmlLayout::NewLine()
{
    m_lines.emplace_back();
    Line().fixedHeight = m_style.lineHeight;
    Line().extraSpacing = m_style.paragraphSpacing;
}

// Moves everything after the last blank of the line to a new line; without a blank the line
// simply breaks here.
void CHtmlLayout::WrapAtLastSpace()
{
    HtmlLine& line = Line();
    for (size_t p = line.pieces.size(); p-- > 0;) {
        HtmlPiece& piece = line.pieces[p];
        const size_t blank = piece.pImage == nullptr ? piece.text.rfind(L' ') : std::wstring::npos;
        if (blank == std::wstring::npos) {
            continue;
        }
        std::vector<HtmlPiece> moved;
        HtmlPiece tail = piece;
        tail.text = piece.text.substr(blank + 1);
        piece.text.resize(blank);
        piece.width = TextWidth(piece.style.hFont, piece.text);
        if (!tail.text.empty()) {
            tail.width = TextWidth(tail.style.hFont, tail.text);
            moved.push_back(tail);
        }
        moved.insert(moved.end(), line.pieces.begin() + static_cast<long>(p) + 1, line.pieces.end());
        line.pieces.resize(p + 1);
        line.width = Add(piece.x, piece.width);
        NewLine();
        for (HtmlPiece& movedPiece : moved) {
            movedPiece.x = Line().width;
            Line().width = Add(Line().width, movedPiece.width);
            Line().pieces.push_back(movedPiece);
        }
        return;
    }
    NewLine();
}

// Cuts the line until "..." fits after it, then adds the dots.
void CHtmlLayout::Ellipsize()
{
    HtmlLine& line = Line();
    const std::wstring dots = L"...";
    const int dotsWidth = TextWidth(m_style.hFont, dots);
    while (!line.pieces.empty() && Add(line.width, dotsWidth) > m_nAvailWidth) {
        HtmlPiece& last = line.pieces.back();
        if (last.pImage != nullptr || last.text.size() <= 1) {
            line.width = last.x;
            line.pieces.pop_back();
            continue;
        }
        last.text.pop_back();
        last.width = TextWidth(last.style.hFont, last.text);
        line.width = Add(last.x, last.width);
    }
    AppendText(dots);
}

// Single characters, which make up most of the measuring, are kept with the font across paints
// (a measurement that failed is not).
int CHtmlLayout::TextWidth(HFONT hFont, const std::wstring& text) const
{
    UIFontInfo* pInfo = text.size() == 1 && m_bPlainDC ? m_pManager->FontInfoOf(hFont) : nullptr;
    if (pInfo != nullptr && pInfo->hFont == hFont) {
        const auto known = pInfo->charWidths.find(text[0]);
        if (known != pInfo->charWidths.end()) {
            return known->second;
        }
        int width = 0;
        if (MeasureText(hFont, text, width)) {
            pInfo->charWidths.emplace(text[0], width);
        }
        return width;
    }
    const auto [it, bNew] = m_widths.try_emplace({hFont, text}, 0);
    if (bNew) {
        MeasureText(hFont, text, it->second);
    }
    return it->second;
}

bool CHtmlLayout::MeasureText(HFONT hFont, const std::wstring& text, int& width) const
{
    SIZE size = {0, 0};
    CUISelectObject select(m_hDC, hFont);
    const bool bMeasured =
        ::GetTextExtentPoint32W(m_hDC, text.c_str(), static_cast<int>(text.size()), &size) != FALSE;
    width = size.cx;
    return bMeasured;
}

TEXTMETRICW CHtmlLayout::Metrics(HFONT hFont) const
{
    const auto [it, bNew] = m_metrics.try_emplace(hFont, TEXTMETRICW{});
    if (bNew) {
        CUISelectObject select(m_hDC, hFont);
        ::GetTextMetricsW(m_hDC, &it->second);
    }
    return it->second;
}

void CHtmlLayout::Layout(HtmlLine& line, int top) const
{
    int ascent = 0;
    int descent = 0;
    for (const HtmlPiece& piece : line.pieces) {
        if (piece.pImage != nullptr) {
            continue;
        }
        ascent = std::max(ascent, piece.ascent);
        descent = std::max(descent, Sub(piece.height, piece.ascent));
    }
    if (ascent + descent == 0) {
        const TEXTMETRICW tm = Metrics(m_style.hFont);
        ascent = tm.tmAscent;
        descent = tm.tmDescent;
    }
    int height = Add(ascent, descent);
    for (const HtmlPiece& piece : line.pieces) {
        if (piece.pImage != nullptr && piece.height > height) {
            ascent = Add(ascent, Sub(piece.height, height) / 2);
            height = piece.height;
        }
    }
    if (line.fixedHeight > 0) {
        ascent = Add(ascent, Sub(line.fixedHeight, height) / 2);
        height = line.fixedHeight;
    }
    line.top = Add(top, line.extraSpacing);
    line.ascent = ascent;
    line.height = height;
}

void CHtmlLayout::Finish()
{
    int top = 0;
    for (HtmlLine& line : m_lines) {
        Layout(line, top);
        top = Add(line.top, line.height);
    }
}

int CHtmlLayout::Width() const
{
    int width = 0;
    for (const HtmlLine& line : m_lines) {
        width = std::max(width, line.width);
    }
    return width;
}

POINT CHtmlLayout::Origin(const RECT& rc, const HtmlLine& line) const
{
    POINT pt = {rc.left, Add(rc.top, line.top)};
    if (SingleLine() && (m_uStyle & DT_CENTER) != 0) {
        pt.x = Add(pt.x, Sub(m_nAvailWidth, line.width) / 2);
    } else if (SingleLine() && (m_uStyle & DT_RIGHT) != 0) {
        pt.x = Add(pt.x, Sub(m_nAvailWidth, line.width));
    }
    if ((m_uStyle & DT_VCENTER) != 0) {
        pt.y = Add(pt.y, Sub(m_nAvailHeight, Height()) / 2);
    } else if ((m_uStyle & DT_BOTTOM) != 0) {
        pt.y = Add(pt.y, Sub(m_nAvailHeight, Height()));
    }
    return pt;
}

// The rectangles of the links, one per link and line, in reading order.
void CHtmlLayout::LinkBoxes(const RECT& rc, std::vector<std::pair<int, RECT>>& boxes) const
{
    for (const HtmlLine& line : m_lines) {
        const POINT origin = Origin(rc, line);
        int previousLink = -1;
        for (const HtmlPiece& piece : line.pieces) {
            const RECT box = PieceBox(origin, piece, line);
            if (piece.style.link < 0) {
                previousLink = -1;
            } else if (piece.style.link == previousLink) {
                boxes.back().second.right = box.right;
            } else {
                boxes.emplace_back(piece.style.link, box);
                previousLink = piece.style.link;
            }
        }
    }
}

int CHtmlLayout::ReportLinks(const RECT& rc, RECT* prcLinks, CUIString* sLinks, int nCapacity) const
{
    std::vector<std::pair<int, RECT>> boxes;
    LinkBoxes(rc, boxes);
    const int count = std::min(static_cast<int>(boxes.size()), nCapacity);
    for (int i = 0; i < count; ++i) {
        prcLinks[i] = boxes[i].second;
        if (sLinks != nullptr) {
            sLinks[i] = m_links[boxes[i].first].c_str();
        }
    }
    return count;
}

void CHtmlLayout::Draw(const RECT& rc, const RECT* prcPrevious, int nCapacity)
{
    std::vector<std::pair<int, RECT>> boxes;
    LinkBoxes(rc, boxes);
    std::vector<bool> hovered(m_links.size(), false);
    const POINT ptMouse = m_pManager->LastMousePoint();
    for (int i = 0; i < std::min(static_cast<int>(boxes.size()), nCapacity); ++i) {
        if (prcPrevious != nullptr && ::PtInRect(&prcPrevious[i], ptMouse)) {
            hovered[boxes[i].first] = true;
        }
    }
    UIClip clip;
    clip.ClipToRect(m_hDC, rc);
    const int nOldMode = ::SetBkMode(m_hDC, TRANSPARENT);
    for (const HtmlLine& line : m_lines) {
        const POINT origin = Origin(rc, line);
        for (const HtmlPiece& piece : line.pieces) {
            const RECT box = PieceBox(origin, piece, line);
            if (piece.style.bSelected) {
                const COLORREF oldColor = ::SetBkColor(m_hDC, UIColorToColorRef(m_pManager->DefaultSelectedColor()));
                ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
                ::SetBkColor(m_hDC, oldColor);
            }
            if (piece.pImage != nullptr) {
                const int top = Add(box.top, Sub(line.height, piece.height) / 2);
                const RECT rcImage = {box.left, top, box.right, Add(top, piece.height)};
                CSkinRender::PaintBitmap(m_hDC, piece.pImage->hBitmap, rcImage, rc, piece.imageSource, {0, 0, 0, 0},
                                         piece.pImage->bAlphaChannel);
                continue;
            }
            DWORD dwColor = piece.style.color;
            if (piece.style.link >= 0) {
                dwColor = hovered[piece.style.link] ? m_pManager->DefaultLinkHoverFontColor()
                                                    : m_pManager->DefaultLinkFontColor();
            }
            ::SetTextColor(m_hDC, UIColorToColorRef(dwColor));
            CUISelectObject select(m_hDC, piece.style.hFont);
            ::TextOutW(m_hDC, box.left, Add(box.top, Sub(line.ascent, piece.ascent)), piece.text.c_str(),
                       static_cast<int>(piece.text.size()));
        }
    }
    ::SetBkMode(m_hDC, nOldMode);
}

} // namespace

void CSkinRender::PaintHtmlText(HDC hDC, CWindowManagerUI* pManager, RECT& rc, const wchar_t* pstrText,
                                UIColor dwTextColor, RECT* prcLinks, CUIString* sLinks, int& nLinkRects, UINT uStyle)
{
    const int nCapacity = prcLinks != nullptr ? std::max(nLinkRects, 0) : 0;
    nLinkRects = 0;
    if (hDC == nullptr || pManager == nullptr || pstrText == nullptr) {
        return;
    }
    CHtmlLayout layout(hDC, pManager, rc, dwTextColor, uStyle);
    layout.Run(pstrText);
    layout.Finish();
    if ((uStyle & DT_CALCRECT) != 0) {
        rc.right = Add(rc.left, layout.Width());
        rc.bottom = Add(rc.top, layout.Height());
        return;
    }
    layout.Draw(rc, prcLinks, nCapacity);
    nLinkRects = layout.ReportLinks(rc, prcLinks, sLinks, nCapacity);
}

} // namespace Tarvo

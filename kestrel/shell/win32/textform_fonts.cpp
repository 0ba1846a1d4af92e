#include "textform_fonts.h"

#include <algorithm>
#include <string>
#include <vector>

#include "winapi.h"

namespace {

int CALLBACK AddFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data)
{
    if (font->lfFaceName[0] != '@') reinterpret_cast<std::vector<std::string>*>(data)->push_back(font->lfFaceName);
    return 1;
}

}  // namespace

void ListScreenFonts(TStrings* into)
{
    std::vector<std::string> faces;
    HDC dc = GetDC(nullptr);
    LOGFONTA all = {};
    all.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(dc, &all, AddFace, reinterpret_cast<LPARAM>(&faces), 0);
    ReleaseDC(nullptr, dc);
    std::sort(faces.begin(), faces.end());
    faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
    into->BeginUpdate();
    into->Clear();
    for (const std::string& face : faces) into->Add(face.c_str());
    into->EndUpdate();
}

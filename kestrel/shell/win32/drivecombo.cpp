#include "drivecombo.h"

#include <cctype>
#include <cstring>

TDriveComboBox::TDriveComboBox(TComponent* AOwner) : TComboBox(AOwner)
{
    SetStyle(csDropDownList);
    BuildList();
}

void TDriveComboBox::BuildList()
{
    char drive = GetDrive();
    char buffer[512];
    DWORD length = GetLogicalDriveStringsA(sizeof buffer, buffer);
    GetItems()->Clear();
    if (length == 0 || length > sizeof buffer) return;
    for (const char* p = buffer; *p; p += strlen(p) + 1) {
        char letter[3] = {char(toupper((unsigned char)p[0])), ':', 0};
        GetItems()->Add(letter);
    }
    if (drive) SetDrive(drive);
}

char TDriveComboBox::GetDrive()
{
    int i = GetItemIndex();
    if (i < 0 || i >= GetItems()->GetCount()) return 0;
    return GetItems()->GetStrings(i)[1];
}

void TDriveComboBox::SetDrive(char Value)
{
    char letter = char(toupper((unsigned char)Value));
    for (int i = 0; i < GetItems()->GetCount(); ++i)
        if (GetItems()->GetStrings(i)[1] == letter) {
            SetItemIndex(i);
            return;
        }
    SetItemIndex(-1);
}

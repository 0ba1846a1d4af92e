#include "imagekeys.h"

namespace {
struct KeyEntry {
    int code;
    ImageKey key;
};

const KeyEntry table[] = {
    {12, ImageKey::NextHotSpot},        {101, ImageKey::NextHotSpot},
    {13, ImageKey::ClearActiveControl}, {27, ImageKey::Escape},
    {33, ImageKey::ScrollTop},          {34, ImageKey::ScrollBottom},
    {36, ImageKey::ScrollLeftEdge},     {35, ImageKey::ScrollRightEdge},
    {37, ImageKey::ScrollLeft},         {39, ImageKey::ScrollRight},
    {38, ImageKey::ScrollUp},           {40, ImageKey::ScrollDown},
    {90, ImageKey::ToggleFitZoom},      {107, ImageKey::ZoomIn},
    {109, ImageKey::ZoomOut},           {190, ImageKey::ResetBrush},
    {289, ImageKey::RedUp},             {292, ImageKey::RedDown},
    {295, ImageKey::GreenUp},           {293, ImageKey::GreenDown},
    {290, ImageKey::BlueUp},            {291, ImageKey::BlueDown},
    {294, ImageKey::SwapColours},       {296, ImageKey::SwitchReadout},
    {301, ImageKey::Paste},             {302, ImageKey::Cut},
    {600, ImageKey::Cut},               {557, ImageKey::Copy},
    {579, ImageKey::Copy},              {558, ImageKey::DeleteSelected},
    {546, ImageKey::CutRectLarger},     {548, ImageKey::CutRectSmaller},
    {549, ImageKey::CutRectNarrower},   {551, ImageKey::CutRectWider},
    {550, ImageKey::CutRectLower},      {552, ImageKey::CutRectHigher},
    {588, ImageKey::ToggleClipping},    {596, ImageKey::ToggleAntiAlias},
    {602, ImageKey::Undo},              {834, ImageKey::BackgroundSelector},
    {836, ImageKey::DrawingSelector},   {1042, ImageKey::SwallowAlt},
    {1139, ImageKey::CloseMainWindow},
};

const int VkBack = 8, VkClear = 12, VkPageUp = 33, VkLeft = 37, VkUp = 38, VkRight = 39, VkDown = 40,
          VkDelete = 46, VkNumpad0 = 96, VkNumpad9 = 105, VkAdd = 107, VkSubtract = 109, VkPeriod = 190;

bool EditingKey(int vk)
{
    return vk == VkBack || vk == VkClear || (vk >= VkPageUp && vk <= VkLeft) || vk == VkRight || vk == VkDelete;
}

bool NumberKey(int vk)
{
    return (vk >= '0' && vk <= '9') || (vk >= VkNumpad0 && vk <= VkNumpad9) || vk == VkAdd || vk == VkSubtract ||
           vk == VkPeriod;
}
}  // namespace

int HotKeyCode(unsigned short vk, bool shift, bool ctrl, bool alt)
{
    return int(vk) + (shift ? KeyShift : 0) + (ctrl ? KeyCtrl : 0) + (alt ? KeyAlt : 0);
}

bool KeyLeftToControl(int code, int tag)
{
    int vk = code & 0xFF;
    if ((tag & (TagNumber | TagText)) && EditingKey(vk)) return true;
    if ((tag & TagNumber) && NumberKey(vk)) return true;
    if ((tag & TagText) && (code & (KeyCtrl | KeyAlt)) != (KeyCtrl | KeyAlt)) return true;
    return (tag & TagUpDown) && (vk == VkUp || vk == VkDown);
}

ImageKey ImageKeyFor(int code)
{
    for (const KeyEntry& e : table)
        if (e.code == code) return e.key;
    return ImageKey::None;
}

bool IsColourKey(ImageKey key)
{
    switch (key) {
    case ImageKey::RedUp:
    case ImageKey::RedDown:
    case ImageKey::GreenUp:
    case ImageKey::GreenDown:
    case ImageKey::BlueUp:
    case ImageKey::BlueDown:
    case ImageKey::SwapColours:
    case ImageKey::SwitchReadout:
    case ImageKey::BackgroundSelector:
    case ImageKey::DrawingSelector: return true;
    default: return false;
    }
}

int AltWindowIndex(int code)
{
    if (code == KeyAlt + '0') return 9;
    if (code >= KeyAlt + '1' && code <= KeyAlt + '9') return code - KeyAlt - '1';
    return -1;
}

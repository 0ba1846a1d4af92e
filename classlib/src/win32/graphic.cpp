// TGraphic: file helpers and change notification shared by the pictures.
#include "graphic.h"
#include "filestream.h"

TGraphic::~TGraphic() = default;

void TGraphic::SetTransparent(bool transparent)
{
    if (transparent == transparent_) return;
    transparent_ = transparent;
    Changed();
}

void TGraphic::Changed()
{
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const AnsiString& fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}

void TGraphic::SaveToFile(const AnsiString& fileName)
{
    TMemoryStream memory;
    SaveToStream(&memory);
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(memory.GetMemory(), memory.GetSize());
}

std::vector<unsigned char> ReadRestOfStream(TStream* stream, int limit)
{
    int available = stream->GetSize() - stream->GetPosition();
    if (available < 0) available = 0;
    if (available > limit) throw EInvalidGraphic("picture data too large");
    std::vector<unsigned char> data(static_cast<size_t>(available));
    if (available) stream->ReadBuffer(data.data(), available);
    return data;
}

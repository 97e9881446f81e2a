#include "core/SkinFile.h"
#include "core/SkinXml.h"

namespace Tarvo {

bool CSkinXml::LoadFromFile(LPCWSTR pstrFilename)
{
    Release();
    ClearError();
    SkinFileBytes bytes;
    const SkinFileResult result = CSkinFileUI::Read(pstrFilename, CSkinFileUI::MAX_DOCUMENT_SIZE, bytes);
    if (result != SkinFileResult::Ok) {
        return Fail(CSkinFileUI::Message(result), nullptr);
    }
    return LoadFromBytes(bytes.pData.get(), bytes.dwSize);
}

} // namespace Tarvo

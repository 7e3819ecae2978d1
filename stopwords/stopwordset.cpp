#include "stopwords/stopwordset.h"

#include "common/win/filehandle.h"
#include "common/win/prompts.h"
#include "common/win/system.h"
#include "stopwords/core/filtertexts.h"
#include "stopwords/linefilter.h"
#include "stopwords/core/textlines.h"

#include <exception>
#include <new>
#include <vector>

IDispatch* dictObject = nullptr;
HRESULT dictResult = 0;

namespace {

// Methods of the dictionary's dual interface, by their slot in its table
// (IUnknown and IDispatch methods counted).
const int putItemSlot = 8;
const int getItemSlot = 9;
const int addSlot = 10;
const int existsSlot = 12;

typedef HRESULT(__stdcall* KeyItemMethod)(IDispatch* self, VARIANT* key, VARIANT* item);
typedef HRESULT(__stdcall* ExistsMethod)(IDispatch* self, VARIANT* key, VARIANT_BOOL* exists);

template <typename Method>
Method methodAt(IDispatch* object, int slot)
{
    void** table = *reinterpret_cast<void***>(object);
    return reinterpret_cast<Method>(table[slot]);
}

// Stands for byte 0 in keys: a noncharacter, which no ANSI byte converts to
// and no real text holds.
const wchar_t nulKeyCharacter = 0xFFFF;

// One key BSTR and one UTF-16 buffer serve every lookup, so testing a word
// allocates nothing once they are large enough.
BSTR keyText = nullptr;
std::vector<wchar_t> wideWord;

VARIANT keyFor(std::string_view word, TextEncoding encoding)
{
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide characters");
    int length = 0;
    if (!word.empty()) {
        // Each byte of an ANSI or a UTF-8 text gives at most one UTF-16 unit.
        if (wideWord.size() < word.size())
            wideWord.resize(word.size());
        if (encoding == TextEncoding::utf8)
            length = static_cast<int>(utf8ToUtf16(word, reinterpret_cast<char16_t*>(wideWord.data())));
        else
            length = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, word.data(), static_cast<int>(word.size()),
                                         wideWord.data(), static_cast<int>(wideWord.size()));
        // The dictionary compares keys as C strings: a NUL would end the key.
        for (int i = 0; i < length; ++i)
            if (wideWord[i] == L'\0')
                wideWord[i] = nulKeyCharacter;
    }
    if (!SysReAllocStringLen(&keyText, wideWord.empty() ? L"" : wideWord.data(),
                             static_cast<unsigned>(length)))
        throw std::bad_alloc();
    VARIANT key;
    VariantInit(&key);
    key.vt = VT_BSTR;
    key.bstrVal = keyText;
    return key;
}

void showStatus(const char* caption)
{
    showMessageBox(nullptr, dicObjErrorText(static_cast<DWORD>(dictResult)).c_str(), caption, MB_OK);
}

} // namespace

void __stdcall IDICTIONARY_PUTITEM(IDispatch* object, VARIANT key, VARIANT item)
{
    dictResult = methodAt<KeyItemMethod>(object, putItemSlot)(object, &key, &item);
}

void __stdcall IDICTIONARY_GETITEM(IDispatch* object, VARIANT key, VARIANT* item)
{
    dictResult = methodAt<KeyItemMethod>(object, getItemSlot)(object, &key, item);
}

void __stdcall IDICTIONARY_ADD(IDispatch* object, VARIANT key, VARIANT item)
{
    dictResult = methodAt<KeyItemMethod>(object, addSlot)(object, &key, &item);
}

LONG __stdcall IDICTIONARY_EXISTS(IDispatch* object, VARIANT key)
{
    VARIANT_BOOL exists = 0;
    dictResult = methodAt<ExistsMethod>(object, existsSlot)(object, &key, &exists);
    return exists;
}

std::string dicObjErrorText(DWORD status)
{
    if (status == 0)
        return std::string();
    return statusMessage(status, systemMessage(status));
}

BSTR __stdcall DICOBJERROR(DWORD status)
{
    std::string text = dicObjErrorText(status);
    return SysAllocStringByteLen(text.data(), static_cast<UINT>(text.size()));
}

bool dictInit()
{
    if (dictObject) {
        dictObject->Release();
        dictObject = nullptr;
    }
    CLSID classId;
    HRESULT status = CLSIDFromProgID(L"Scripting.Dictionary", &classId);
    if (SUCCEEDED(status))
        status = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(&dictObject));
    if (dictObject)
        return true;
    showMessageBox(nullptr, dicObjErrorText(static_cast<DWORD>(status)).c_str(), "Error in dictInit()", MB_OK);
    return false;
}

bool dictExists(std::string_view word, TextEncoding encoding)
{
    LONG exists = IDICTIONARY_EXISTS(dictObject, keyFor(word, encoding));
    if (dictResult != 0)
        showStatus("Error in dictExists()");
    return exists == -1;
}

void dictAddL(std::string_view word, LONG value, TextEncoding encoding)
{
    if (!dictExists(word, encoding)) {
        VARIANT item;
        VariantInit(&item);
        item.vt = VT_R8;
        item.dblVal = value;
        IDICTIONARY_ADD(dictObject, keyFor(word, encoding), item);
    }
    if (dictResult != 0)
        showStatus("Error in dictAddL()");
}

void dictRelease()
{
    if (dictObject) {
        dictObject->Release();
        dictObject = nullptr;
    }
    SysFreeString(keyText);
    keyText = nullptr;
}

namespace {

// The whole list, read in one piece. Its size is checked against the memory
// free first, so a list too large for memory is found out before it is read.
DWORD readWholeList(HANDLE file, std::string& text)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size))
        return GetLastError();
    if (static_cast<uint64_t>(size.QuadPart) > allocatableMemory())
        return ERROR_NOT_ENOUGH_MEMORY;
    return readWholeFile(file, static_cast<uint64_t>(size.QuadPart), text);
}

} // namespace

StopwordListLoad loadStopwordList(const std::wstring& path, LONG* entriesRead, DWORD* errorCode,
                                  const LoadProgress& progress)
{
    *entriesRead = 0;
    *errorCode = 0;
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen()) {
        *errorCode = GetLastError();
        return StopwordListLoad::unreadable;
    }
    try {
        std::string text;
        *errorCode = readWholeList(file.handle, text);
        file.close();
        if (*errorCode != 0)
            return StopwordListLoad::unreadable;
        // Read byte by byte, UTF-16 would give words no list ever holds.
        const TextEncoding encoding = encodingByMark(text);
        if (encoding == TextEncoding::utf16)
            return StopwordListLoad::utf16;
        const DWORD progressInterval = 1000;
        DWORD lastProgress = GetTickCount();
        for (const std::string& entry : stopwordEntries(text)) {
            dictAddL(entry, 1, encoding);
            ++*entriesRead;
            if (progress && GetTickCount() - lastProgress >= progressInterval) {
                progress(*entriesRead);
                lastProgress = GetTickCount();
            }
        }
    } catch (const std::exception&) {
        *errorCode = ERROR_NOT_ENOUGH_MEMORY;
        return StopwordListLoad::unreadable;
    }
    return StopwordListLoad::loaded;
}

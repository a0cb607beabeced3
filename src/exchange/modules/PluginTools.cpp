#include "exchange/modules/PluginTools.h"

#include "core/CodePage.h"

#include <algorithm>

namespace ExportImport::Private {

using namespace UtilityClasses::Strings;

namespace {

// Texts from a module are NUL-terminated; a null pointer is an empty text.
std::u16string_view View(const char16_t* text)
{
    return text ? std::u16string_view(text) : std::u16string_view();
}

}  // namespace

APluginToolsImpl::APluginToolsImpl(AModuleSession& session, std::string libraryFileName, AModuleHandle module)
    : session_(session), libraryFileName_(std::move(libraryFileName)), module_(module)
{
}

std::string APluginToolsImpl::SettingName(const char16_t* name) const
{
    if (View(name).empty())
        return {};
    return libraryFileName_ + ":" + Utf16ToUtf8(View(name));
}

const char16_t* APluginToolsImpl::Translate(const char16_t* text)
{
    if (!text)
        return u"";
    // Built-in texts are looked up by their code page 1251 bytes. A text that 1251 can't
    // hold would come back with "?" in place of its characters and might then match a
    // different text, so only an exact round trip is looked up.
    std::string bytes;
    std::u16string back;
    if (!Utf16ToMultiByte(View(text), kCodePageCyrillic, bytes) ||
        !MultiByteToUtf16(bytes, kCodePageCyrillic, back) || back != View(text))
        return text;
    const char16_t* found = session_.Strings().FindBuiltInString(bytes);
    if (!found)
        return text;
    translation_ = found;
    return translation_.c_str();
}

bool APluginToolsImpl::WriteString(const char16_t* name, const char16_t* text)
{
    const std::string key = SettingName(name);
    if (key.empty())
        return false;
    return session_.Store().WriteString(key, Utf16ToUtf8(View(text)));
}

bool APluginToolsImpl::WriteInt(const char16_t* name, std::int32_t value)
{
    const std::string key = SettingName(name);
    return !key.empty() && session_.Store().WriteInt(key, value);
}

bool APluginToolsImpl::ReadString(const char16_t* name, char16_t* buffer, std::uint32_t size)
{
    const std::string key = SettingName(name);
    if (key.empty() || !buffer || size == 0)
        return false;
    std::string stored;
    if (!session_.Store().ReadString(key, stored))
        return false;
    const std::u16string text = Utf8ToUtf16(stored);
    const std::size_t length = std::min<std::size_t>(text.size(), size - 1);
    std::copy_n(text.data(), length, buffer);
    buffer[length] = u'\0';
    return true;
}

bool APluginToolsImpl::ReadInt(const char16_t* name, std::int32_t* value)
{
    const std::string key = SettingName(name);
    return !key.empty() && value && session_.Store().ReadInt(key, *value);
}

HRESULT APluginToolsImpl::SetProgressText(const char16_t* text)
{
    if (!session_.Running())
        return Result::kUnexpected;
    session_.SetCaption(View(text));
    return Result::kOk;
}

HRESULT APluginToolsImpl::SetProgress(std::uint32_t percent)
{
    if (!session_.Running())
        return Result::kUnexpected;
    session_.Notify(std::min<std::uint32_t>(percent, 100));
    return Result::kOk;
}

void APluginToolsImpl::AddError(const char16_t* text)
{
    session_.AddMessage(true, std::u16string(View(text)));
}

void APluginToolsImpl::AddWarning(const char16_t* text)
{
    session_.AddMessage(false, std::u16string(View(text)));
}

}  // namespace ExportImport::Private

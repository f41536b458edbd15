#pragma once
// The texts and web addresses of the information commands. Lines are
// separated by a carriage return alone, a blank line by two.
#include <string>

inline constexpr wchar_t kDownloadMessage[] = L"请在点击后，稍等一会即可下载。下载完毕，双击解压，解压完毕安装。";
inline constexpr wchar_t kSpeechSdkUrl[] = L"https://example.invalid/speech/speechsdk51.exe";
inline constexpr wchar_t kLanguagePackUrl[] = L"https://example.invalid/speech/speechsdk51LangPack.exe";
inline constexpr wchar_t kSoftwareListUrl[] = L"https://example.invalid/tarn-quill/software";

std::wstring HelpText();
std::wstring AdviceText();
std::wstring CustomSoftwareText();
std::wstring AdvertisingText();
std::wstring AboutText();

#pragma once
// The class this server registers: the speech runtime's shared recognition
// context, so that programs written for the runtime find the loopback instead.
#include <windows.h>

namespace loopback {

// {47206204-5ECA-11D2-960F-00C04F8EE628}
constexpr CLSID kClsidSpSharedRecoContext{0x47206204, 0x5eca, 0x11d2, {0x96, 0x0f, 0x00, 0xc0, 0x4f, 0x8e, 0xe6, 0x28}};
constexpr wchar_t kClsidText[] = L"{47206204-5ECA-11D2-960F-00C04F8EE628}";
constexpr wchar_t kProgId[] = L"SAPI.SpSharedRecoContext";
constexpr wchar_t kProgIdVersioned[] = L"SAPI.SpSharedRecoContext.1";
constexpr wchar_t kClassName[] = L"SpSharedRecoContext Class (Quellory loopback recogniser)";

}  // namespace loopback

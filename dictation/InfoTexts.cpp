#include "dictation/InfoTexts.h"

#include <initializer_list>
#include <string_view>

namespace {

constexpr wchar_t kSignature[] = L"塔恩羽笔工作室 tarn-quill";
constexpr wchar_t kContact[] = L"联系方式：QQ 10000000，邮箱 studio@example.invalid";

// The texts are paragraphs with an empty line between them (the message
// box's line break is a lone CR).
std::wstring Paragraphs(std::initializer_list<std::wstring_view> paragraphs) {
    std::wstring text;
    for (const std::wstring_view p : paragraphs) {
        if (!text.empty()) text += L"\r\r";
        text += p;
    }
    return text;
}

}  // namespace

std::wstring HelpText() {
    const std::wstring thanks = std::wstring(L"☆感谢您使用本软件！") + kSignature + L"☆";
    return Paragraphs({
        L"★软件使用帮助：",
        L"◇1、首次使用前，请先通过[文件]菜单中的[下载SDK]和[下载语言包]下载语音识别引擎和中文语言包，"
        L"得到speechsdk51.exe和speechsdk51LangPack.exe两个文件，依次解压并安装。",
        L"◇2、安装完毕后，请运行[训练]菜单中的[麦克风]向导和[语音训练]向导。",
        L"◇3、训练完毕，启动本软件，把鼠标光标放到要输入文字的窗口中，用标准的普通话朗读要输入的内容。",
        L"◇4、标点符号直接读出它的名字即可，例如“逗号”、“句号”、“感叹号”。",
        L"◇5、请把光标放在要输入的位置，自然地讲话，保持周围环境安静，并使用质量好的头戴式麦克风。",
        L"◆6、总是不能正确识别的词语，可以通过[选项]中的[词典]加入，并可调整[灵敏度]。",
        L"◆7、启动时如果出现“OLE error 8004503A”或系统提示的类没有注册的信息，请回到第1条。",
        L"◆8、如果输出的只有英文，请打开[语音属性]，在控制面板中双击[语音]图标，在[语音识别]页中选择"
        L"“Microsoft Simplified Chinese Recognizer v5.1”作为语言。",
        thanks,
    });
}

std::wstring AdviceText() {
    return Paragraphs({
        L"★如何提高输入识别率(下面的步骤是关键说明请按照进行)：",
        L"1、第一次使用时，一定要完整地进行语音训练，把三篇例文全部读完。",
        L"2、生僻字词、地名和人名，请用[词典]加入，并朗读一次。",
        L"3、保持周围环境安静，使用质量好的头戴式麦克风。",
        kSignature,
    });
}

std::wstring CustomSoftwareText() {
    return Paragraphs({
        L"尊敬的用户,您好：",
        L"本工作室承接各类软件的定制开发。",
        L"无论是办公工具、数据管理还是小型游戏，都可以按照您的要求编写。",
        L"收费合理，交付及时。",
        L"完成后提供一年的免费维护。",
        L"欢迎来信说明您的需求。",
        kContact,
        kSignature,
    });
}

std::wstring AdvertisingText() {
    return Paragraphs({
        L"尊敬的用户,您好：",
        L"本工作室的软件拥有大量的用户。",
        L"我们可以在软件的界面中为您的产品放置广告。",
        L"广告形式可以是文字、图片或链接。",
        L"价格合理，效果明显。",
        L"欢迎来信洽谈合作。",
        kContact,
        kSignature,
    });
}

std::wstring AboutText() {
    return Paragraphs({
        L"Quellory 语音输入",
        L"用你的声音进行文字聊天。",
        kContact,
        kSignature,
    });
}

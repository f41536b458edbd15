#include "dictation/InfoTexts.h"

namespace {

constexpr wchar_t kSignature[] = L"塔恩羽笔工作室 tarn-quill";
constexpr wchar_t kContact[] = L"联系方式：QQ 10000000，邮箱 studio@example.invalid";

}  // namespace

std::wstring HelpText() {
    std::wstring t = L"★软件使用帮助：";
    t += L"\r\r◇1、首次使用前，请先通过[文件]菜单中的[下载SDK]和[下载语言包]下载语音识别引擎和中文语言包，"
         L"得到speechsdk51.exe和speechsdk51LangPack.exe两个文件，依次解压并安装。";
    t += L"\r\r◇2、安装完毕后，请运行[训练]菜单中的[麦克风]向导和[语音训练]向导。";
    t += L"\r\r◇3、训练完毕，启动本软件，把鼠标光标放到要输入文字的窗口中，用标准的普通话朗读要输入的内容。";
    t += L"\r\r◇4、标点符号直接读出它的名字即可，例如“逗号”、“句号”、“感叹号”。";
    t += L"\r\r◇5、请把光标放在要输入的位置，自然地讲话，保持周围环境安静，并使用质量好的头戴式麦克风。";
    t += L"\r\r◆6、总是不能正确识别的词语，可以通过[选项]中的[词典]加入，并可调整[灵敏度]。";
    t += L"\r\r◆7、启动时如果出现“OLE error 8004503A”或系统提示的类没有注册的信息，请回到第1条。";
    t += L"\r\r◆8、如果输出的只有英文，请打开[语音属性]，在控制面板中双击[语音]图标，在[语音识别]页中选择"
         L"“Microsoft Simplified Chinese Recognizer v5.1”作为语言。";
    t += L"\r\r☆感谢您使用本软件！";
    t += kSignature;
    t += L"☆";
    return t;
}

std::wstring AdviceText() {
    std::wstring t = L"★如何提高输入识别率(下面的步骤是关键说明请按照进行)：";
    t += L"\r\r1、第一次使用时，一定要完整地进行语音训练，把三篇例文全部读完。";
    t += L"\r\r2、生僻字词、地名和人名，请用[词典]加入，并朗读一次。";
    t += L"\r\r3、保持周围环境安静，使用质量好的头戴式麦克风。";
    t += L"\r\r";
    t += kSignature;
    return t;
}

std::wstring CustomSoftwareText() {
    std::wstring t = L"尊敬的用户,您好：";
    t += L"\r\r本工作室承接各类软件的定制开发。";
    t += L"\r\r无论是办公工具、数据管理还是小型游戏，都可以按照您的要求编写。";
    t += L"\r\r收费合理，交付及时。";
    t += L"\r\r完成后提供一年的免费维护。";
    t += L"\r\r欢迎来信说明您的需求。";
    t += L"\r\r";
    t += kContact;
    t += L"\r\r";
    t += kSignature;
    return t;
}

std::wstring AdvertisingText() {
    std::wstring t = L"尊敬的用户,您好：";
    t += L"\r\r本工作室的软件拥有大量的用户。";
    t += L"\r\r我们可以在软件的界面中为您的产品放置广告。";
    t += L"\r\r广告形式可以是文字、图片或链接。";
    t += L"\r\r价格合理，效果明显。";
    t += L"\r\r欢迎来信洽谈合作。";
    t += L"\r\r";
    t += kContact;
    t += L"\r\r";
    t += kSignature;
    return t;
}

std::wstring AboutText() {
    std::wstring t = L"Quellory 语音输入";
    t += L"\r\r用你的声音进行文字聊天。";
    t += L"\r\r";
    t += kContact;
    t += L"\r\r";
    t += kSignature;
    return t;
}

#include <array>

#include "window/frmFileAttribute.h"

namespace timrose {

void frmFileAttribute::chkOnTop_Click() {
  const intptr_t insertAfter = form_.GetValue(ControlId::chkOnTop) == 1 ? kHwndTopmost : kHwndNoTopmost;
  platform_.windows.SetWindowPos(form_.NativeHandle(), insertAfter, 0, 0, 0, 0, kSwpNoSize | kSwpNoMove);
}

void frmFileAttribute::lblAbout_Click() {
  form_.SetMousePointer(ControlId::lblAbout, kPointerDefault);
  platform_.messages.MsgBox(AboutText(), kMbOkOnly + kMbInformation,
                            Text(Describe(ControlId::lblAbout).caption));
  form_.SetMousePointer(ControlId::lblAbout, kPointerCustom);
}

Text frmFileAttribute::AboutText() {
  static constexpr std::array<const char16_t*, 16> kLines = {
      u"欢迎使用本工具",
      u"                                                                                                    ",
      u"本工具由作者Brackenmoor编写,是vantrelTooL系列小工具中的一员.",
      u"本工具在32位Windows操作系统下编制完成.工程建于2011年2月21日.",
      u"本工具是作者业余爱好写成,部分代码参考自网络",
      u"本工具目前版本为1.0.6,可执行文件最终生成日期为2011年3月3日.",
      u"",
      u"本工具实现了对文件属性中的三种时间属性的获取与修改",
      u"同时可以获取和修改文件的四大基本属性(只读,隐藏,系统,存档)",
      u"",
      u"作者:Brackenmoor(Corvath)",
      u"邮箱:brackenmoor@example.com",
      u"主页:暂无主页.(作者以Corvath命名的讨论区开设在一个公共论坛服务上)",
      u"",
      u"vantrelTooL系列工具的标志版权归作者所有,未经作者许可请勿使用.",
      u"使用前请知悉:文件时间属性的修改是系统底层操作,请慎用",
  };
  Text text;
  for (size_t i = 0; i < kLines.size(); ++i) {
    if (i > 0) text += u"\r\n";
    text += kLines[i];
  }
  return text;
}

}  // namespace timrose

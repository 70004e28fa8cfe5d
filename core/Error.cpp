#include "core/Error.h"

#include <utility>

namespace timrose {
namespace {

struct Description {
  int number;
  const char16_t* text;
};

// The texts a Chinese Windows shows for these numbers.
constexpr Description kDescriptions[] = {
    {kErrInvalidCall, u"无效的过程调用或参数"},
    {kErrOverflow, u"溢出"},
    {kErrOutOfMemory, u"内存不足"},
    {kErrSubscriptOutOfRange, u"下标越界"},
    {kErrTypeMismatch, u"类型不匹配"},
    {kErrInternal, u"内部错误"},
    {kErrBadFileName, u"文件名或文件号错误"},
    {kErrFileNotFound, u"文件未找到"},
    {kErrDiskFull, u"磁盘已满"},
    {kErrPermissionDenied, u"拒绝的权限"},
    {kErrDiskNotReady, u"磁盘未准备好"},
    {kErrPathFileAccess, u"路径/文件访问错误"},
    {kErrNoSuchFormat, u"未找到方法或数据成员"},
    {kErrDialogBufferTooSmall, u"文件名缓冲区太小,所选文件名超过了长度限制"},
    {kErrDialogInvalidFileName, u"文件名无效"},
    {kErrDialogCancel, u"选定了取消"},
    {kErrDialogInitialization, u"文件对话框初始化失败"},
};

}  // namespace

RaisedError::RaisedError(int number, Text description)
    : number_(number),
      description_(std::move(description)),
      what_("error " + std::to_string(number) + ": " + ToUtf8(description_)) {}

Text ErrorDescription(int number) {
  for (const auto& d : kDescriptions) {
    if (d.number == number) return d.text;
  }
  return u"应用程序定义的错误或对象定义的错误";
}

void RaiseError(int number) {
  throw RaisedError(number, ErrorDescription(number));
}

int ErrorNumberFromSystemCode(unsigned long code) {
  switch (code) {
    // A missing folder, drive, server or share on the way is as much "not found" to the user as a
    // missing file, whichever call meets it first (Windows answers a drive letter that does not
    // exist with 3, Wine with 2).
    case 2:   // ERROR_FILE_NOT_FOUND
    case 3:   // ERROR_PATH_NOT_FOUND
    case 15:  // ERROR_INVALID_DRIVE
    case 53:  // ERROR_BAD_NETPATH
    case 67:  // ERROR_BAD_NET_NAME
      return kErrFileNotFound;
    case 5:   // ERROR_ACCESS_DENIED
    case 19:  // ERROR_WRITE_PROTECT
    case 32:  // ERROR_SHARING_VIOLATION
    case 33:  // ERROR_LOCK_VIOLATION
      return kErrPermissionDenied;
    case 21:  // ERROR_NOT_READY
      return kErrDiskNotReady;
    case 112:  // ERROR_DISK_FULL
      return kErrDiskFull;
    // A name Windows refuses: characters no file name may hold, or beyond the longest path it
    // takes.
    case 123:  // ERROR_INVALID_NAME
    case 161:  // ERROR_BAD_PATHNAME
    case 206:  // ERROR_FILENAME_EXCED_RANGE
      return kErrBadFileName;
    default:
      return kErrPathFileAccess;
  }
}

void RaiseSystemError(unsigned long code) {
  RaiseError(ErrorNumberFromSystemCode(code));
}

}  // namespace timrose

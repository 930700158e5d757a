#pragma once
// The public face of the Tolvenk library: the host creates a Quernat and calls
// mnuLoad once per menu command; the call returns when the window closes.
#include <cstdint>
#include <stdexcept>
#include <string>

// The library exports these two classes and nothing else.
#define TOLVENK_API __attribute__((visibility("default")))

namespace tolvenk {

// How mnuLoad reports a failure to the host: the classic error number
// (9 subscript out of range, 6 overflow, ...) and its text.
class TOLVENK_API TolvenkError : public std::runtime_error {
public:
    TolvenkError(int number, const std::string& text) : std::runtime_error(text), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

class TOLVENK_API Quernat {
public:
    // sPara: "menu code;language;access code"; sUser: the operator's login
    // name; sCN: "config folder;config file;password;;[money sign]".
    // Throws TolvenkError on failure, with both connections released.
    void mnuLoad(const std::string& sPara, const std::string& sUser, const std::string& sCN);
    // Why the last mnuLoad call returned without a window although its
    // access code was right: its configuration or business database could
    // not be opened (the words of the box it showed the operator, less those
    // about the box's buttons). Empty when they opened.
    std::string Open_Failure() const;
    // The operator's User_ID, 0 when unknown or when no call is running.
    std::int32_t Get_UserID(const std::string& SysUserName);
};

}  // namespace tolvenk

#pragma once
#include <string>

namespace tolvenk {

// A summary-report format as stored in a 'HZ_Rep_Format' row of Sys_Para:
// P2 type and grouping dimensions, P3 column flags, P4 item flags, P5 meal flags.
struct HZ_Rep_Format {
    std::string Name;  // P1
    std::string P2, P3, P4, P5;

    // From "P2;P3;P4;P5" (the defaults and Get_HZ_Rep_Format answer in this form).
    static HZ_Rep_Format fromFormatString(const std::string& name, const std::string& format);

    // '1' daily, '2' monthly, '3' range; '\0' when P2 is empty.
    char type() const { return P2.empty() ? '\0' : P2[0]; }
    // Grouping dimension codes: the number value of P2's characters 2-3 and 4-5.
    int dim1() const;
    int dim2() const;
    // Flag n (1-based) of a flag part: true when it is "1".
    static bool flag(const std::string& part, int n) {
        return n >= 1 && n <= static_cast<int>(part.size()) && part[static_cast<std::size_t>(n - 1)] == '1';
    }
};

// Report type codes and the first dimension as the readers take them.
constexpr char ReportDaily = '1';
constexpr char ReportMonthly = '2';
constexpr char ReportRange = '3';

// The Sys_Para key of report formats and the first defined report number.
constexpr const char* HZ_Format_Para = "HZ_Rep_Format";
constexpr int FirstDefinedReport = 101;
constexpr int LastDefinedReport = 999;

// "val(SubParaName)" or "cast(SubParaName as int)": the number value of a
// format's key in the dialect of the engine actually connected.
std::string Key_Number_Sql(const std::string& column = "SubParaName");

}  // namespace tolvenk

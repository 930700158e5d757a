#include "data/XfTypeCode.h"

#include <map>

#include "lang/LangGlobals.h"

namespace tolvenk {

namespace XF_Type_Code {

int langNumber(int code) {
    static const std::map<int, int> texts = {
        {1, 200},   {2, 201},   {3, 202},   {5, 203},   {6, 204},   {7, 205},   {8, 206},   {9, 207},
        {10, 208},  {11, 209},  {13, 210},  {15, 211},  {16, 212},  {17, 637},  {48, 213},  {129, 229},
        {130, 230}, {131, 231}, {132, 232}, {161, 214}, {162, 215}, {163, 216}, {165, 217}, {166, 218},
        {167, 219}, {168, 220}, {169, 221}, {170, 222}, {171, 223}, {172, 224}, {173, 225}, {174, 225},
        {175, 226}, {177, 227}, {179, 228}, {181, 636}, {201, 638}, {202, 214}, {250, 471},
    };
    auto it = texts.find(code);
    return it == texts.end() ? -1 : it->second;
}

std::string name(int code) {
    const int n = langNumber(code);
    return n < 0 ? std::string() : Lang[static_cast<std::size_t>(n)];
}

}  // namespace XF_Type_Code

namespace XF_Kind_Group {

std::string sqlList(Kinds kinds) {
    std::string out;
    for (int k : kinds) out += (out.empty() ? "" : ",") + std::to_string(k);
    return out;
}

}  // namespace XF_Kind_Group

namespace XF_Meal_Code {

const char* prefix(int meal) {
    static const char* const prefixes[] = {"Zao", "Zhong", "Wan", "Ye", "Xiao"};
    return meal >= 1 && meal <= Count ? prefixes[meal - 1] : "";
}

std::string name(int meal) { return meal >= 1 && meal <= Count ? Lang[static_cast<std::size_t>(193 + meal)] : ""; }

}  // namespace XF_Meal_Code

}  // namespace tolvenk

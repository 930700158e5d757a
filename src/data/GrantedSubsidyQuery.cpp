#include "data/GrantedSubsidyQuery.h"

#include <algorithm>
#include <map>

#include "data/BTService.h"
#include "data/DataList.h"
#include "data/TableColumns.h"
#include "platform/db/SqlText.h"

namespace tolvenk::Granted_Subsidy {

namespace {

namespace B = col::BuTie_OK;

// The month's rows in one read, grouped by employee in the order of their
// keys: the same rows each employee's own query would give.
struct Month_Rows {
    DataList rows;
    std::map<std::string, std::vector<int>> of;
    int id = 0, pinfo = 0, unit = 0, grantedAt = 0, op = 0, jinE = 0, received = 0, ci = 0, ciAfter = 0, year = 0,
        month = 0, times = 0, takenAt = 0, state = 0;

    Month_Rows(BTService& bt, const Query& q) : rows(bt.select_BT_OK_3(q.year, 0, q.month, q.batch)) {
        if (rows.rowUBound() < 1) return;
        id = rows.col(B::ID), pinfo = rows.col(B::Pinfo_ID), unit = rows.col(B::B_Unit);
        grantedAt = rows.col(B::ZhunBei_DT), op = rows.col(B::ZhunBei_Ren_ID), jinE = rows.col(B::B_JinE);
        received = rows.col(B::B_JinE_SJ), ci = rows.col(B::B_Ci), ciAfter = rows.col(B::B_Ci_SY);
        year = rows.col(B::B_Year), month = rows.col(B::B_Month), times = rows.col(B::B_Times);
        takenAt = rows.col(B::B_Get_DT), state = rows.col(B::B_SF);
        // A chosen batch number takes every kind.
        const bool anyKind = !q.batch.empty() || !q.kind;
        for (int r = 1; r <= rows.rowUBound(); ++r)
            if (anyKind || vbVal(rows(r, unit)) == *q.kind) of[rows(r, pinfo)].push_back(r);
        for (auto& [person, list] : of)
            std::stable_sort(list.begin(), list.end(),
                             [&](int a, int b) { return vbVal(rows(a, id)) < vbVal(rows(b, id)); });
    }
};

// The last position of each identifier names it.
std::map<std::string, std::string> positionNames(BTService& bt) {
    const DataList list = bt.Get_ZhiWei();
    std::map<std::string, std::string> names;
    if (list.rowUBound() < 1) return names;
    const int id = list.col(col::Ren_Positions_Info::ID), name = list.col(col::Ren_Positions_Info::Position_Name);
    for (int r = 1; r <= list.rowUBound(); ++r) names[list(r, id)] = list(r, name);
    return names;
}

// Operator names, each read once.
class Operator_Names {
public:
    explicit Operator_Names(BTService& bt) : bt_(bt) {}
    const std::optional<std::string>& of(const std::string& id) {
        const auto known = names_.find(id);
        if (known != names_.end()) return known->second;
        std::optional<std::string> shown;
        if (parseNumber(id)) {
            const DataList user = bt_.Get_CZ_Name(id);
            if (user.rowUBound() >= 1) shown = user(1, user.col(col::Sys_User_Info::User_Name));
        }
        return names_[id] = shown;
    }

private:
    BTService& bt_;
    std::map<std::string, std::optional<std::string>> names_;
};

}  // namespace

std::vector<Row> Rows(BTService& bt, const Query& query, const Progress& progress) {
    const DataList emps = bt.Get_Emp_Check(query.deptNo, query.name, query.code, "");
    const auto positions = positionNames(bt);
    const Month_Rows m(bt, query);
    Operator_Names operators(bt);
    std::vector<Row> out;
    if (emps.rowUBound() < 1) return out;
    namespace E = col::Ren_Per_Info;
    const int eId = emps.col(E::Pinfo_ID), eName = emps.col(E::P_Name), eCode = emps.col(E::P_Code),
              eDept = emps.col(col::Ren_Dept_Info::Dept_Name), eDeptCode = emps.col(col::Ren_Dept_Info::Dept_Code),
              ePos = emps.col(E::P_Position_ID);
    for (int e = 1; e <= emps.rowUBound(); ++e) {
        const auto mine = m.of.find(emps(e, eId));
        if (mine != m.of.end()) {
            const auto pos = positions.find(emps(e, ePos));
            for (int r : mine->second) {
                const DataList& b = m.rows;
                Row row{emps(e, eId),  emps(e, eName),       emps(e, eCode),         emps(e, eDept),
                        emps(e, eDeptCode), std::nullopt,    b(r, m.times),          b(r, m.jinE),
                        b(r, m.received),   b(r, m.ci),      b(r, m.ciAfter),        b(r, m.state) == "2",
                        b(r, m.year), static_cast<std::int32_t>(vbVal(b(r, m.month))), b(r, m.takenAt),
                        b(r, m.grantedAt),  operators.of(b(r, m.op))};
                if (pos != positions.end()) row.position = pos->second;
                out.push_back(std::move(row));
            }
        }
        if (progress && !progress(e, emps.rowUBound())) break;
    }
    return out;
}

}  // namespace tolvenk::Granted_Subsidy

#include "data/SubsidyClearingRun.h"

#include <memory>

#include "data/BaseService.h"
#include "data/TableColumns.h"
#include "data/WriteBatch.h"
#include "data/XFService.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/db/Transaction.h"
#include "platform/services/Services.h"

namespace tolvenk {

void QL_List(XFService& xf, const DataList& employees, const std::string& yearMonth, const QL_Sink& each) {
    if (employees.rowUBound() < 1) return;
    const int id = employees.col(col::Ren_Per_Info::Pinfo_ID), nm = employees.col(col::Ren_Per_Info::P_Name);
    for (int e = 1; e <= employees.rowUBound(); ++e) {
        const std::string pinfo = employees(e, id);
        const QL_Line line{pinfo, employees(e, nm),
                           QL_Count(xf.Get_XF_Info4(pinfo, yearMonth),
                                    xf.is_All_bt(static_cast<std::int32_t>(vbVal(pinfo)), yearMonth))};
        if (!each(line, e, employees.rowUBound())) return;
    }
}

namespace Clearing_Store {

// The employees in batches on one connection; the progress is told between
// batches, where no lock is held.
Counts Clear_Listed(const std::string& connectionString, std::int32_t year, std::int32_t month,
                    std::int32_t operatorId, const std::vector<Listed>& lines, const Progress& progress) {
    Counts counts;
    Request request;
    request.year = year;
    request.month = month;
    request.operatorId = operatorId;
    BaseService base;  // the services' connection: their database and time-out
    base.Set_LinkStr(connectionString);
    base.Open_DB_Con();
    db::Connection& con = *base.DB_Con;
    const db::CloseOnExit closing(con);
    Write_Batch batch(con);
    const auto total = static_cast<std::int64_t>(lines.size());
    try {
        for (std::int64_t i = 0; i < total; ++i) {
            const Listed& line = lines[static_cast<std::size_t>(i)];
            if (line.ticked && line.clearedWhenListed) {
                ++counts.before;
            } else if (line.ticked) {
                request.pinfoId = line.pinfoId;
                request.markerTime = platform::services().clockText();
                auto outcome = std::make_shared<Outcome>(Outcome::Cleared);
                try {
                    batch.wholeItem([&](db::Connection& c) { *outcome = Clear_Employee(c, request); },
                                    [outcome, &counts] {
                                        switch (*outcome) {
                                            case Outcome::Cleared: ++counts.cleared; break;
                                            case Outcome::Already_Cleared: ++counts.before; break;
                                            case Outcome::No_Card: ++counts.noCard; break;
                                        }
                                    },
                                    [&counts](const std::string&) { ++counts.failed; });
                } catch (const db::DbError&) {
                    ++counts.failed;
                }
            }
            if (batch.pause(static_cast<bool>(progress)) && progress && !progress(i + 1, total)) {
                counts.stopped = true;
                break;
            }
        }
    } catch (...) {
        batch.commit();  // the employees done stay cleared, as each one's own commit left them
        throw;
    }
    batch.commit();
    return counts;
}

}  // namespace Clearing_Store

}  // namespace tolvenk

#include "bench/WriteBaselines.h"

namespace tolvenk::bench {

namespace {

const char* const kXfColumns =
    "insert into Record_XF(Mach_ID,Pinfo_id,Card_No_Lng,Shou_Kuan,C_LeiBie,XF_DIan_ID,XF_Type,XF_Meal,YuE_Old,"
    "YuE_Change,YuE_New,C_QuHao,Card_LiuShui,Mach_LiuShui,Date_Time,Card_No,YuCi_Change,Operator_id,XF_Unit,Ci_QuHao,"
    "Ci_LiuShui,YuCi_New,Err_Code,Rec_Time,DC_Date) ";

std::string n(long v) { return std::to_string(v); }

}  // namespace

std::vector<std::string> inOneTransaction(bool server, std::vector<std::string> writes) {
    // A large write's pages stay in the cache, as the module's bulk writes keep them.
    std::vector<std::string> out;
    if (!server) out.push_back("PRAGMA cache_size=-131072");
    out.push_back(server ? "BEGIN" : "BEGIN IMMEDIATE");
    for (std::string& w : writes)
        if (!w.empty()) out.push_back(std::move(w));
    out.push_back("COMMIT");
    return out;
}

std::vector<std::string> idGrantWrites(bool, int year, int month, int times, const std::string& now) {
    const std::string batch = " b.B_Year=" + n(year) + " and b.B_Month=" + n(month) + " and b.B_Times=" + n(times) +
                              " and b.B_SF=-1 ";
    const std::string card = " c.Pinfo_id=b.Pinfo_ID and c.Card_Model=1 and c.C_GuaShi=0 ";
    return {
        std::string(kXfColumns) + "select 0,c.Pinfo_id,c.Card_No_Lng,'',c.C_LeiBie,0,11,0,c.C_YuE_ID,b.B_JinE,"
            "c.C_YuE_ID+b.B_JinE,0,0,0,'" + now + "',c.Card_No,b.B_Ci,1,1,0,0,c.C_YuCi_ID+b.B_Ci,0,null,null "
            "from BuTie_OK b join Card_Info c on" + card + "where" + batch,
        "update Card_Info set C_YuE_ID=C_YuE_ID+b.B_JinE from BuTie_OK b where b.Pinfo_ID=Card_Info.Pinfo_id and "
            "Card_Info.Card_Model=1 and Card_Info.C_GuaShi=0 and" + batch,
        "update BuTie_OK set ZhunBei_DT='" + now + "',ZhunBei_Ren_ID=1,B_SF=case when exists(select 1 from Card_Info c "
            "where c.Pinfo_id=BuTie_OK.Pinfo_ID and c.Card_Model=1 and c.C_GuaShi=0) then 2 else 0 end where "
            "B_Year=" + n(year) + " and B_Month=" + n(month) + " and B_Times=" + n(times) + " and B_SF=-1",
    };
}

std::vector<std::string> clearingWrites(bool server, int year, int month, const std::string& now) {
    const std::string ym = n(year) + "-" + (month < 10 ? "0" : "") + n(month);
    // Each employee's subsidy and spending of the month summed once, by one
    // pass over the month each; the amounts to clear follow from them.
    const std::string figures =
        "select c.ID as cid,c.Pinfo_id as pid,c.C_YuE_ID as bal,c.C_YuCi_ID as tbal,c.Card_No_Lng as lng,"
        "c.C_LeiBie as lei,c.Card_No as cno,"
        "case when coalesce(s.money,0)<0 then s.money when coalesce(s.money,0)>abs(coalesce(x.money,0)) then "
        "s.money-abs(coalesce(x.money,0)) else 0 end as money,"
        "case when coalesce(s.times,0)>abs(coalesce(x.times,0)) then s.times-abs(coalesce(x.times,0)) else 0 end "
        "as times "
        "from Card_Info c join Ren_Per_Info p on p.Pinfo_ID=c.Pinfo_id and p.Del_YN=0 "
        "left join (select Pinfo_ID,sum(B_JinE) as money,sum(B_Ci) as times from BuTie_OK where B_Year=" + n(year) +
        " and B_Month=" + n(month) + " and B_Times>0 and B_SF=2 group by Pinfo_ID) s on s.Pinfo_ID=c.Pinfo_id "
        "left join (select Pinfo_id,sum(YuE_Change) as money,sum(YuCi_Change) as times from Record_XF where "
        "Date_Time>='" + ym + "' and Date_Time<'" + ym + "Z' and coalesce(Card_LiuShui,0)<=0 and "
        "coalesce(Ci_LiuShui,0)<=0 and XF_Type in (1,2,9,10,15,16,48) group by Pinfo_id) x on x.Pinfo_id=c.Pinfo_id "
        "where c.Card_Model=1 and c.C_GuaShi=0 and not exists(select 1 from BuTie_OK m where m.Pinfo_ID=c.Pinfo_id "
        "and m.B_Year=" + n(year) + " and m.B_Month=" + n(month) + " and m.B_Times<=0)";
    const std::string row = "select 36,pid,lng,'',lei,10,";
    return {
        std::string(server ? "create temp table ql on commit drop as " : "create temp table ql as ") + figures,
        std::string(kXfColumns) + row + "166,0,bal,-money,bal-money,0,0,0,'" + now + "',cno,0,1,1,0,0,tbal,0,'" + ym +
            "','' from ql",
        std::string(kXfColumns) + row + "168,0,bal-money,0,bal-money,0,0,0,'" + now + "',cno,-times,1,1,0,0,"
            "tbal-times,0,'" + ym + "','' from ql",
        "insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,B_Unit) select "
            "pid,'" + now + "',1,-money,-times," + n(year) + "," + n(month) + ",-1,-1 from ql",
        "update Card_Info set C_YuCi_ID=C_YuCi_ID-ql.times,C_YuE_ID=C_YuE_ID-ql.money,ID_YuE_Now='" + now +
            "' from ql where Card_Info.ID=ql.cid",
        server ? std::string() : "drop table ql",
    };
}

std::vector<std::string> idClearingWrites(const std::string& now) {
    const std::string voided = "from Card_Info where Card_Model=1 and C_YuE_ID<>0";
    return {
        "insert into Sys_Log(Date_Time,Operator_ID,Op_Code,Op_Object) select '" + now + "',1,301,"
        "count(*)||','||coalesce(-sum(C_YuE_ID),0) " + voided,
        "insert into Record_XF(Mach_ID,Pinfo_id,Card_No_Lng,C_LeiBie,XF_Dian_ID,XF_Type,XF_Meal,YuE_Old,YuE_Change,"
        "YuE_New,C_QuHao,Card_LiuShui,Mach_LiuShui,Date_Time,Card_No,YuCi_Change,Operator_id,XF_Unit,Ci_QuHao,"
        "Ci_LiuShui,YuCi_New,Err_Code,Rec_Time,DC_Date,Shui_Change,IS_ShuiKong) select 0,Pinfo_id,0,C_LeiBie,0,175,0,"
        "C_YuE_ID,-C_YuE_ID,0,0,0,-3,'" + now + "',Card_No,0,1,0,0,0,0,0,'','',0,0 " + voided,
        "update Card_Log set Card_YuE=0 where exists(select 1 from Card_Info where Card_Info.Card_Model=1 and "
        "Card_Info.Pinfo_id=Card_Log.Pinfo_id and Card_Info.Card_No=Card_Log.Card_No)",
        "update Card_Info set C_YuE_ID=0 where Card_Model=1",
    };
}

std::vector<std::string> settlementWrites(bool server, const std::string& cutoff) {
    std::vector<std::string> out = {
        "update Sys_Para set P2='0',P3='" + cutoff + "' where Para_Name='JieSuan_Date'",
    };
    struct Chain {
        const char *serial, *change, *table;
    };
    for (const Chain& c : {Chain{"Card_LiuShui", "YuE_Change", "st_money"}, Chain{"Ci_LiuShui", "YuCi_Change", "st_times"}}) {
        const std::string s = c.serial, t = c.table;
        const std::string before = " " + s + ">1 and Date_Time<'" + cutoff + "' ";
        // Each card's top serial before the cut-off and the sum of its rows above
        // the first, for the cards of the card log with more than one such row.
        out.push_back("create temp table " + t + "(p integer,c " + (server ? "citext" : "text collate nocase") +
                      ",n integer,s integer,primary key(p,c))");
        out.push_back("insert into " + t + " select Pinfo_ID,Card_No,max(" + s + "),sum(" + c.change +
                      ") from Record_XF where" + before + "and Pinfo_ID>0 and Card_No in (select Card_No from "
                      "Card_Log where Card_Log.Pinfo_ID=Record_XF.Pinfo_ID) group by Pinfo_ID,Card_No having count(*)>1");
        if (server) out.push_back("analyze " + t);
        const std::string ofCard = "(Pinfo_ID,Card_No) in (select p,c from " + t + ")";
        out.push_back("insert into Record_BF_XF select * from Record_XF where XF_Type<>250 and" + before + "and " +
                      ofCard);
        out.push_back("update Record_XF set " + std::string(c.change) + "=" + t + ".s,XF_Type=250 from " + t +
                      " where Record_XF.Pinfo_ID=" + t + ".p and Record_XF.Card_No=" + t + ".c and Record_XF." + s +
                      "=" + t + ".n and Record_XF.Date_Time<'" + cutoff + "'");
        out.push_back("delete from Record_XF where" + before + "and XF_Type<>250 and " + ofCard);
        out.push_back("drop table " + t);
    }
    out.push_back("update Sys_Para set P1='" + cutoff + "',P2='1',P3='' where Para_Name='JieSuan_Date'");
    return out;
}

}  // namespace tolvenk::bench

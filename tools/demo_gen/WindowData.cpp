#include "demo_gen/WindowData.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <map>

namespace tolvenk::demo::gen {

namespace {

using db::Value;

// Batch numbers of a month: the monthly IC subsidy, the monthly ID subsidy,
// and in the last month a bonus and a times batch still being prepared.
constexpr int kIcMonthly = 1, kIdMonthly = 2, kIcBonus = 3, kIcTimes = 4;
constexpr i64 kIdSubsidy = 20000, kIcBonusFen = 5000, kIcTimesGift = 10;
// Pre-deducted money of an order, per meal 1..5 (the ordering periods' row says the same).
constexpr std::array<i64, 6> kYuKou = {0, 300, 1000, 800, 600, 400};
constexpr i64 kIdIssueFee = 1000, kIdReturnFee = 1000;
constexpr int kFinanceOperator = 2;  // 财务员
constexpr int kLogClearing = 301;
// How far past its own time a step of a holder's day writes rows (a card
// change: the new card five minutes later, its first top-up a minute after).
constexpr i64 kLongestStep = 360;

constexpr const char* kIdNames[] = {"严冬梅", "石海波", "龙小燕", "贺建国", "顾文静", "毛志强", "郝佳怡", "邱少华",
                                    "秦雪松", "江晓红", "史宏伟", "侯玉兰", "邵光明", "孟思远", "龚丽娟", "万国庆"};

int monthIndex(const std::vector<Facts::Month>& months, i64 day) {
    const Civil c = civilFromDays(day);
    return (c.y * 12 + c.m) - (months.front().year * 12 + months.front().month);
}

i64 monthFirstDay(const Facts::Month& m) { return daysFromCivil(m.year, m.month, 1); }
i64 monthLastDay(const Facts::Month& m) {
    return (m.month == 12 ? daysFromCivil(m.year + 1, 1, 1) : daysFromCivil(m.year, m.month + 1, 1)) - 1;
}
bool workday(i64 day) { return weekday(day) != 0 && weekday(day) != 6; }
std::string monthText(const Facts::Month& m) { return timeText(monthFirstDay(m) * kDay).substr(0, 7); }

// One Record_XF row of an ID purse (no card serials) or of the office.
struct Xf {
    int mach = 0, person = 0, leiBie = 1, place = 0, kind = 0, meal = 0, op = 0, owner = 0, err = 0;
    i64 cardLng = 0, old = 0, change = 0, now = 0, time = 0;
    std::string cardNo, cashier, recTime, dcDate;
};

class WindowRows {
public:
    WindowRows(const Facts& f, Sink& out)
        : f_(f), out_(out), rng_(f.seed * 2654435761u + 17), dirt_(f.seed * 40503u + 0x2545f491u) {}
    void write();
    long holders() const { return static_cast<long>(holders_.size()); }

private:
    struct IdCard {
        std::string no, number;
        i64 noLng = 0, issued = 0;
        bool lost = false;
    };
    struct Holder {
        int person = 0;  // Pinfo_ID - 1
        int leiBie = 1;
        std::vector<IdCard> cards;
        i64 balance = 0, changedAt = 0;
        bool active = true;
        int appetite = 50;  // percent of the offered meals ordered
        std::map<int, i64> spent, credited;  // per month index
        std::array<bool, 6> ordered{};
        std::string code;
    };

    void settlePast();
    void mealTables();
    bool offered(i64 day, int meal) const;
    void idHolders();
    void simulate(Holder& h, std::size_t index);
    void icBatches();

    void xf(const Xf& r);
    Xf idRow(const Holder& h, int kind, i64 t, i64 change);
    void book(Holder& h, Xf r);
    void log(const Holder& h, const IdCard& c, i64 t, int op, i64 faKa, i64 tui, i64 cardYuE, i64 zy,
             const std::string& newNumber = {});
    void batchRow(int person, const std::string& cardNumber, int batch, const Facts::Month& m, int unit, int state,
                  i64 money, i64 times, i64 preparedAt, int operatorId);
    IdCard newCard(i64 issued);

    const Facts& f_;
    Sink& out_;
    Rng rng_;
    Rng dirt_;  // a clean run never draws from it
    std::vector<Holder> holders_;
    std::map<i64, std::array<int, 6>> special_;  // special ordering days: flag per meal 1..5
    long nextCardNumber_ = 0;
};

void WindowRows::xf(const Xf& r) {
    const std::vector<Value> values = {i64{r.mach}, i64{r.person}, r.cardLng, r.cashier, i64{r.leiBie}, i64{r.place},
                                       i64{r.kind}, i64{r.meal}, r.old, r.change, r.now, timeText(r.time), r.cardNo,
                                       i64{r.op}, i64{r.owner}, i64{r.err},
                                       r.recTime.empty() ? timeText(r.time) : r.recTime,
                                       r.dcDate.empty() ? Value() : Value(r.dcDate)};
    // A dirty run has the terminal upload some rows twice.
    const int times = f_.dirty && dirt_.oneIn(40) ? 2 : 1;
    for (int k = 0; k < times; ++k)
        out_.execute("insert into Record_XF(Mach_ID,Pinfo_id,Card_No_Lng,Shou_Kuan,C_LeiBie,XF_Dian_ID,XF_Type,XF_Meal,"
                     "YuE_Old,YuE_Change,YuE_New,C_QuHao,Card_LiuShui,Mach_LiuShui,Date_Time,Card_No,YuCi_Change,"
                     "Operator_id,XF_Unit,Ci_QuHao,Ci_LiuShui,YuCi_New,Err_Code,Rec_Time,DC_Date,Shui_Change,"
                     "Is_ShuiKong) values(?,?,?,?,?,?,?,?,?,?,?,1,0,0,?,?,0,?,?,2,0,0,?,?,?,0,0)",
                     values);
}

Xf WindowRows::idRow(const Holder& h, int kind, i64 t, i64 change) {
    const IdCard& c = h.cards.back();
    Xf r;
    r.person = h.person + 1;
    r.cardLng = c.noLng;
    r.cardNo = c.no;
    r.leiBie = h.leiBie;
    r.kind = kind;
    r.time = t;
    r.change = change;
    return r;
}

// Moves the purse by the row's change and writes the row.
void WindowRows::book(Holder& h, Xf r) {
    r.old = h.balance;
    h.balance += r.change;
    r.now = h.balance;
    h.changedAt = r.time;
    const int m = monthIndex(f_.months, r.time / kDay);
    for (int k : {1, 2, 9, 10, 15, 16, 48})
        if (r.kind == k) h.spent[m] += r.change;
    xf(r);
}

void WindowRows::log(const Holder& h, const IdCard& c, i64 t, int op, i64 faKa, i64 tui, i64 cardYuE, i64 zy,
                     const std::string& newNumber) {
    out_.execute("insert into Card_Log(Pinfo_id,Card_No,Card_Number,Date_Time,Op_Type,C_LeiBie,Operator_ID,FaKa_GBF,"
                 "Huan_GBF,Tui_GBF,Card_YuE,Card_YuCi,Huan_Number,ZY_JinE,ZY_Ci) values(?,?,?,?,?,?,?,?,0,?,?,0,?,?,0)",
                 {i64{h.person + 1}, c.no, c.number, timeText(t), i64{op}, i64{h.leiBie}, i64{f_.deskOperator}, faKa,
                  tui, cardYuE, newNumber.empty() ? Value() : Value(newNumber), zy});
}

WindowRows::IdCard WindowRows::newCard(i64 issued) {
    IdCard c;
    // Below the IC cards' numbers, which are ten digits.
    c.noLng = 300'000'000 + static_cast<i64>(nextCardNumber_) * 7919 + rng_.between(0, 7000);
    c.no = std::to_string(c.noLng);
    c.number = padded(++nextCardNumber_, 6);
    c.issued = issued;
    return c;
}

void WindowRows::batchRow(int person, const std::string& cardNumber, int batch, const Facts::Month& m, int unit,
                          int state, i64 money, i64 times, i64 preparedAt, int operatorId) {
    out_.execute("insert into BuTie_OK(Pinfo_ID,Card_Number,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,"
                 "B_Times,B_Type,B_SF,B_Unit) values(?,?,?,?,?,?,?,?,?,0,?,?)",
                 {i64{person + 1}, cardNumber.empty() ? Value() : Value(cardNumber), timeText(preparedAt), i64{operatorId}, money, times, i64{m.year},
                  i64{m.month}, i64{batch}, i64{state}, i64{unit}});
}

// ------------------------------------------------------------ settled past

// What the IC settlement leaves of the rows before the cut-off: per card and
// serial kind, the rows from serial 2 to the last valid one before it go to
// the backup table and collapse into that last one, which becomes kind 250
// with their sum; serial 1 stays as it is.
void WindowRows::settlePast() {
    const i64 until = settledUntil(f_.firstDay, f_.lastDay);
    if (until < 0) return;
    const std::string cutoff = timeText(until * kDay);
    struct Kind {
        const char* serial;
        const char* change;
    };
    for (const Kind k : {Kind{"Card_LiuShui", "YuE_Change"}, Kind{"Ci_LiuShui", "YuCi_Change"}}) {
        const std::string s = k.serial;
        const std::string top = "(select Top_Serial from Settle_Top t where t.Card_No = Record_XF.Card_No and "
                                "t.Pinfo_id = Record_XF.Pinfo_id)";
        out_.execute("create temp table Settle_Top as select Card_No, Pinfo_id, max(" + s +
                     ") as Top_Serial from Record_XF where " + s + " > 1 and Date_Time < '" + cutoff +
                     "' and Err_Code = 0 group by Card_No, Pinfo_id having max(" + s + ") >= 3");
        out_.execute("create index Settle_Top_Card on Settle_Top(Card_No, Pinfo_id)");
        // Only rows before the cut-off: a card numbered alike but for case may have later rows of lower serials.
        const std::string before = " and Date_Time < '" + cutoff + "'";
        out_.execute("insert into Record_BF_XF select * from Record_XF where " + s + " > 1 and " + s + " <= " + top +
                     before);
        out_.execute("update Record_XF set " + std::string(k.change) + " = (select sum(r." + k.change +
                     ") from Record_XF r where r.Card_No = Record_XF.Card_No and r.Pinfo_id = Record_XF.Pinfo_id "
                     "and r." + s + " > 1 and r." + s + " <= Record_XF." + s + " and r.Date_Time < '" + cutoff +
                     "'), XF_Type = 250 where " + s + " = " + top + before);
        out_.execute("delete from Record_XF where " + s + " > 1 and " + s + " < " + top + before);
        out_.execute("drop table Settle_Top");
    }
    out_.execute("update Sys_Para set P1 = ? where Para_Name = 'JieSuan_Date'", {cutoff});
}

// ------------------------------------------------------------ meal ordering

void WindowRows::mealTables() {
    out_.execute("insert into XF_Can_Time(Zao_1,Zao_2,Zhong_1,Zhong_2,Wan_1,Wan_2,Ye_1,Ye_2,Xiao_1,Xiao_2,Max_Money,"
                 "Max_Ci) values('06:00:00','09:00:00','11:00:00','13:00:00','17:00:00','19:00:00','21:00:00',"
                 "'23:00:00','00:00:00','02:00:00',60000,100)");
    std::vector<Value> periods = {i64{1}};
    const char* times[][2] = {{"06:00:00", "08:30:00"}, {"10:00:00", "11:30:00"}, {"15:00:00", "17:00:00"},
                              {"19:00:00", "21:00:00"}, {"22:00:00", "23:30:00"}};
    for (int m = 1; m <= 5; ++m) {
        periods.emplace_back(std::string(times[m - 1][0]));
        periods.emplace_back(std::string(times[m - 1][1]));
        periods.emplace_back(kYuKou[static_cast<std::size_t>(m)]);
    }
    out_.execute("insert into DC_ShiDuan(DC_MoRen,DC_Zao_1,DC_Zao_2,DC_Zao_YuKou,DC_Zhong_1,DC_Zhong_2,DC_Zhong_YuKou,"
                 "DC_Wan_1,DC_Wan_2,DC_Wan_YuKou,DC_Ye_1,DC_Ye_2,DC_Ye_YuKou,DC_Xiao_1,DC_Xiao_2,DC_Xiao_YuKou) "
                 "values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                 periods);
    // Weekdays offer breakfast, lunch and supper, the weekend lunch.
    std::string flags;
    for (int wd = 1; wd <= 7; ++wd)
        for (int meal = 1; meal <= 5; ++meal) {
            const bool on = wd <= 5 ? meal <= 3 : meal == 2;
            flags += flags.empty() ? "" : ",";
            flags += on ? "1" : "0";
        }
    std::string columns;
    for (const char* day : {"Mon", "Tues", "Wed", "Thurs", "Fri", "Sat", "Sun"})
        for (const char* meal : {"Zao", "Zhong", "Wan", "Ye", "Xiao"})
            columns += std::string(columns.empty() ? "" : ",") + day + "_" + meal;
    out_.execute("insert into DC_ZhengChangRi(" + columns + ") values(" + flags + ")");

    // A holiday, the Saturday worked for it, and a day ahead with lunch only.
    i64 holiday = f_.firstDay + (f_.lastDay - f_.firstDay) / 3;
    while (weekday(holiday) != 1) ++holiday;
    special_[holiday] = {0, 0, 0, 0, 0, 0};
    special_[holiday + 5] = {0, 1, 1, 1, 0, 0};
    special_[f_.lastDay + 2] = {0, 0, 1, 0, 0, 0};
    for (const auto& [day, on] : special_)
        out_.execute("insert into DC_TeShuRi(TS_Date,TS_Zao,TS_Zhong,TS_Wan,TS_Ye,TS_Xiao) values(?,?,?,?,?,?)",
                     {dayText(day), i64{on[1]}, i64{on[2]}, i64{on[3]}, i64{on[4]}, i64{on[5]}});
}

bool WindowRows::offered(i64 day, int meal) const {
    const auto s = special_.find(day);
    if (s != special_.end()) return s->second[static_cast<std::size_t>(meal)] != 0;
    const int wd = weekday(day);
    return wd >= 1 && wd <= 5 ? meal <= 3 : meal == 2;
}

// ------------------------------------------------------------ ID card holders

// A few employees pay with ID cards, whose purse is the database's: they
// order their meals ahead, take them or cancel, top up at the office, get
// the monthly ID subsidy, and between them their cards see every operation.
void WindowRows::idHolders() {
    const std::size_t count = std::clamp<std::size_t>(f_.employees.size() / 15, 8, std::size(kIdNames));
    nextCardNumber_ = f_.cardsIssued;
    const i64 added = (f_.firstDay - 40) * kDay + hms(9);
    for (std::size_t i = 0; i < count; ++i) {
        Holder h;
        h.person = static_cast<int>(f_.employees.size() + i);
        h.leiBie = i % 6 == 5 ? 2 : 1;
        h.code = "ID" + padded(static_cast<i64>(i) + 1, 3);
        h.appetite = i % 4 == 3 ? 15 : static_cast<int>(rng_.between(55, 95));
        const Facts::Employee& colleague = f_.employees[i * 7 % f_.employees.size()];
        h.active = true;
        const i64 leaveDay = f_.firstDay + (f_.lastDay - f_.firstDay) * 6 / 10;
        // Returns the card by force and leaves, unless that is still to come today.
        const bool leaves = i == 1 && leaveDay * kDay + hms(15) + kLongestStep <= f_.until;
        out_.execute("insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,P_Num,P_Sex,P_Position_ID,"
                     "P_Birthday,P_Nation,P_Edu,P_Marry,P_InDate,P_OutDate,P_State,Add_DT,Del_YN) "
                     "values(?,?,?,?,?,?,?,7,?,'汉族','大专','已婚',?,?,0,?,?)",
                     {i64{h.person + 1}, colleague.deptId, colleague.deptNo, std::string(kIdNames[i]), h.code,
                      padded(60001 + static_cast<i64>(i), 5), std::string(i % 2 ? "女" : "男"),
                      dayText(daysFromCivil(1975 + static_cast<int>(i), 3, 1 + static_cast<int>(i))),
                      dayText(f_.firstDay - 400 - static_cast<i64>(i) * 30), leaves ? Value(dayText(leaveDay)) : Value(),
                      timeText(added), i64{leaves ? 1 : 0}});
        holders_.push_back(std::move(h));
    }
    for (std::size_t i = 0; i < holders_.size(); ++i) simulate(holders_[i], i);
    for (const Holder& h : holders_) {
        const IdCard& c = h.cards.back();
        out_.execute("insert into Card_Info(Pinfo_id,C_BianHao,Card_No,Card_No_Lng,Card_Number,Card_Model,C_GuaShi,"
                     "C_YuE_ID,C_YuCi_ID,ID_YuE_Now,Card_Type,FaKa_DT,C_LeiBie) values(?,?,?,?,?,1,?,?,0,?,0,?,?)",
                     {i64{h.person + 1}, c.number, c.no, c.noLng, c.number, i64{c.lost ? 1 : 0}, h.balance,
                      timeText(h.changedAt), timeText(c.issued), i64{h.leiBie}});
    }
}

// One holder's period, day by day in time order.
void WindowRows::simulate(Holder& h, std::size_t index) {
    const i64 span = f_.lastDay - f_.firstDay;
    const i64 issued = (f_.firstDay - 3 - static_cast<i64>(index) * 4) * kDay + hms(10, static_cast<int>(index));
    h.cards.push_back(newCard(issued));
    h.balance = rng_.between(10, 30) * 1000;
    h.changedAt = issued;
    log(h, h.cards.back(), issued, 0, kIdIssueFee, 0, h.balance, 0);

    const int lastMonth = static_cast<int>(f_.months.size()) - 1;
    // The day each past month's ID subsidy was credited: its first workday after the 1st.
    auto grantDay = [&](int m) {
        i64 d = std::max(monthFirstDay(f_.months[static_cast<std::size_t>(m)]) + 1, f_.firstDay);
        while (!workday(d)) ++d;
        return d;
    };
    // The story of the holder's cards, on days of the period.
    const i64 lostDay = lastMonth >= 1 ? grantDay(lastMonth - 1) - 1 : f_.firstDay + span / 2;
    const i64 storyDay = f_.firstDay + span * (index == 2 ? 4 : index == 3 ? 5 : index == 4 ? 35 : 60) / 100;

    struct Step {
        i64 time;
        std::function<void()> run;
    };
    for (i64 d = f_.firstDay; d <= f_.lastDay && h.active; ++d) {
        std::vector<Step> steps;
        const i64 base = d * kDay;
        const int m = monthIndex(f_.months, d);
        auto usable = [&] { return h.active && !h.cards.back().lost; };

        // Month-end clearing of the first month's unspent ID subsidy, early on the next month's first day.
        if (m == 1 && d == monthFirstDay(f_.months[1]))
            steps.push_back({base + hms(6, 30), [&, m] {
                                 if (!usable()) return;
                                 const i64 subsidy = h.credited[0], spent = std::abs(h.spent[0]);
                                 const i64 money = subsidy > spent ? std::min(subsidy - spent, h.balance) : 0;
                                 const std::string when = timeText(base + hms(6, 30));
                                 Xf r = idRow(h, 166, base + hms(6, 30), -money);
                                 r.mach = 36;
                                 r.place = 10;
                                 r.owner = 1;
                                 r.op = f_.deskOperator;
                                 r.recTime = monthText(f_.months[0]);
                                 book(h, r);
                                 r.kind = 168;
                                 r.change = 0;
                                 book(h, r);
                                 out_.execute("insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,"
                                              "B_Year,B_Month,B_Times,B_Unit) values(?,?,?,?,0,?,?,-1,-1)",
                                              {i64{h.person + 1}, when, i64{f_.deskOperator}, -money,
                                               i64{f_.months[0].year}, i64{f_.months[0].month}});
                             }});
        // The month's ID subsidy, credited by the office; a card lost that day waits for the re-grant.
        if (m < lastMonth && d == grantDay(m) && h.leiBie == 1)
            steps.push_back({base + hms(9) + static_cast<i64>(index) * 20, [&, m] {
                                 const Facts::Month& mo = f_.months[static_cast<std::size_t>(m)];
                                 const i64 t = base + hms(9) + static_cast<i64>(index) * 20;
                                 if (usable()) {
                                     Xf r = idRow(h, 11, t, kIdSubsidy);
                                     r.owner = 1;
                                     r.op = 1;
                                     book(h, r);
                                     h.credited[m] += kIdSubsidy;
                                     batchRow(h.person, h.cards.back().number, kIdMonthly, mo, 0, 2, kIdSubsidy, 0, t,
                                              1);
                                 } else if (h.active) {
                                     batchRow(h.person, h.cards.back().number, kIdMonthly, mo, 0, 0, kIdSubsidy, 0, t,
                                              1);
                                 }
                             }});
        // Meals ordered yesterday: cancelled in the morning, or taken (the
        // pre-deduction comes back and the meal is paid), or left.
        for (int meal : {2, 3}) {
            if (!h.ordered[static_cast<std::size_t>(meal)]) continue;
            h.ordered[static_cast<std::size_t>(meal)] = false;
            const int fate = static_cast<int>(rng_.between(0, 99));
            const i64 at = fate < 10 ? base + rng_.between(hms(7, 30), hms(8, 50))
                                     : base + rng_.between(meal == 2 ? hms(11, 30) : hms(17, 30),
                                                           meal == 2 ? hms(12, 45) : hms(18, 30));
            const i64 price = rng_.between(meal == 2 ? 16 : 14, meal == 2 ? 44 : 40) * 50;
            const int term = static_cast<int>(rng_.between(0, static_cast<i64>(f_.canteens.size()) - 1));
            if (fate >= 95) continue;  // ordered and not eaten: the pre-deduction stays
            steps.push_back({at, [&, meal, fate, at, price, term] {
                                 if (!usable()) return;
                                 const Terminal& tm = f_.canteens[static_cast<std::size_t>(term)];
                                 Xf r = idRow(h, fate < 10 ? 16 : 48, at, kYuKou[static_cast<std::size_t>(meal)]);
                                 r.mach = tm.id;
                                 r.place = tm.place;
                                 r.owner = tm.owner;
                                 r.meal = meal;
                                 r.dcDate = dayText(d);
                                 r.cashier = std::to_string(1 + (term + meal) % 4);
                                 book(h, r);
                                 if (fate < 10) return;
                                 r.kind = 1;
                                 r.dcDate.clear();
                                 r.time = at + 2;
                                 r.change = -std::min(price, h.balance);
                                 r.err = rng_.oneIn(400) ? 1 : 0;
                                 book(h, r);
                             }});
        }
        // Low purses are topped up at the office in the afternoon.
        if (workday(d))
            steps.push_back({base + hms(14) + static_cast<i64>(index) * 60, [&] {
                                 if (!usable() || h.balance >= 6000) return;
                                 Xf r = idRow(h, 161, base + hms(14) + static_cast<i64>(index) * 60,
                                              rng_.between(2, 4) * 10000);
                                 r.mach = f_.desk.id;
                                 r.place = f_.desk.place;
                                 r.owner = f_.desk.owner;
                                 r.op = f_.deskOperator;
                                 book(h, r);
                             }});
        // Tomorrow's meals are ordered in the evening.
        for (int meal : {2, 3})
            if (offered(d + 1, meal) && rng_.between(0, 99) < h.appetite) {
                const i64 at = base + rng_.between(hms(19), hms(20, 30));
                steps.push_back({at, [&, meal, at] {
                                     if (!usable() || h.balance < kYuKou[static_cast<std::size_t>(meal)]) return;
                                     const Terminal& tm = f_.canteens.front();
                                     Xf r = idRow(h, 15, at, -kYuKou[static_cast<std::size_t>(meal)]);
                                     r.mach = tm.id;
                                     r.place = tm.place;
                                     r.owner = tm.owner;
                                     r.meal = meal;
                                     r.dcDate = dayText(d + 1);
                                     book(h, r);
                                     h.ordered[static_cast<std::size_t>(meal)] = true;
                                 }});
            }

        // The card stories.
        if (index == 0 && d == lostDay) {
            steps.push_back({base + hms(16), [&] {
                                 h.cards.back().lost = true;
                                 log(h, h.cards.back(), base + hms(16), 1, 0, 0, 0, 0);
                             }});
        }
        if (index == 0 && d == lostDay + 3) {
            steps.push_back({base + hms(10), [&] {
                                 h.cards.back().lost = false;
                                 log(h, h.cards.back(), base + hms(10), 2, 0, 0, 0, 0);
                             }});
        }
        if (index == 1 && d == f_.firstDay + span * 6 / 10) {
            steps.push_back({base + hms(15), [&] {  // returned by force, the balance paid out
                                 const i64 t = base + hms(15);
                                 log(h, h.cards.back(), t, 6, 0, kIdReturnFee, 0, h.balance);
                                 Xf r = idRow(h, 132, t, -h.balance);
                                 r.mach = f_.desk.id;
                                 r.place = f_.desk.place;
                                 r.owner = f_.desk.owner;
                                 r.op = f_.deskOperator;
                                 book(h, r);
                                 h.active = false;
                             }});
        }
        if ((index == 2 || index == 3) && d == storyDay) {
            steps.push_back({base + hms(10), [&, index] {
                                 const i64 t = base + hms(10);
                                 Xf r = idRow(h, index == 2 ? 170 : 130, t, -h.balance);
                                 r.mach = f_.desk.id;
                                 r.place = f_.desk.place;
                                 r.owner = f_.desk.owner;
                                 r.op = f_.deskOperator;
                                 const i64 moved = h.balance;
                                 IdCard next = newCard(t + 300);
                                 // 5: the balance moves to a new card; 7: the card is cancelled, the money paid out.
                                 log(h, h.cards.back(), t, index == 2 ? 5 : 7, 0, 0, 0, moved,
                                     index == 2 ? next.number : std::string());
                                 book(h, r);
                                 h.cards.push_back(next);
                                 log(h, next, t + 300, 0, kIdIssueFee, 0, 0, 0);
                                 r = idRow(h, index == 2 ? 169 : 161, t + 360, index == 2 ? moved : 20000);
                                 r.mach = f_.desk.id;
                                 r.place = f_.desk.place;
                                 r.owner = f_.desk.owner;
                                 r.op = f_.deskOperator;
                                 book(h, r);
                             }});
        }
        if (index == 4 && d == storyDay) {
            steps.push_back({base + hms(11), [&] {
                                 h.cards.back().lost = true;
                                 log(h, h.cards.back(), base + hms(11), 1, 0, 0, 0, 0);
                             }});
        }
        if (index == 4 && d == storyDay + 2) {
            steps.push_back({base + hms(16), [&] {  // the lost card's balance voided by the office
                                 const i64 t = base + hms(16);
                                 const i64 amount = -h.balance;
                                 Xf r = idRow(h, 175, t, amount);
                                 r.op = f_.deskOperator;
                                 r.recTime = "";
                                 book(h, r);
                                 out_.execute("update Card_Log set Card_YuE = 0 where Card_No = ?", {h.cards.back().no});
                                 out_.execute("insert into Sys_Log(Date_Time,Operator_ID,Op_Code,Op_Object) "
                                              "values(?,?,?,?)",
                                              {timeText(t), i64{f_.deskOperator}, i64{kLogClearing},
                                               "1," + std::to_string(amount)});
                             }});
        }
        std::stable_sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) { return a.time < b.time; });
        // What is still to come today has not happened.
        for (const Step& s : steps)
            if (s.time + kLongestStep <= f_.until) s.run();
    }

    // This month's ID subsidy is prepared and not yet credited.
    if (h.active && h.leiBie == 1) {
        const Facts::Month& mo = f_.months.back();
        batchRow(h.person, h.cards.back().number, kIdMonthly, mo, 0, -1, kIdSubsidy, 0,
                 std::min(std::max(monthFirstDay(mo), f_.firstDay) * kDay + hms(8), f_.until), kFinanceOperator);
    }
}

// ------------------------------------------------------------ IC subsidy batches

// Each month's IC subsidy was handed to the employees' subsidy terminals and
// taken there (the transactions hold the takings); what was not taken by
// the month's end was stopped, what waits in this month is at its terminal.
// This month also has a bonus batch and a times batch still being prepared.
void WindowRows::icBatches() {
    std::map<std::pair<int, int>, const Facts::Taken*> taken;
    for (const Facts::Taken& t : f_.subsidiesTaken) taken[{t.person, t.month}] = &t;
    const int lastMonth = static_cast<int>(f_.months.size()) - 1;
    for (int m = 0; m <= lastMonth; ++m) {
        const Facts::Month& mo = f_.months[static_cast<std::size_t>(m)];
        const i64 start = std::max(monthFirstDay(mo), f_.firstDay) * kDay;
        const std::string stopped = timeText(std::min(monthLastDay(mo), f_.lastDay) * kDay + hms(18));
        for (std::size_t p = 0; p < f_.employees.size(); ++p) {
            const Facts::Employee& e = f_.employees[p];
            if (e.monthlySubsidy <= 0 || (e.left && e.leftAt <= start)) continue;
            const Terminal& term = f_.subsidyTerminals[static_cast<std::size_t>(e.subsidyTerminal)];
            const auto t = taken.find({static_cast<int>(p), m});
            int state = 0;
            if (t != taken.end()) state = 2;
            else if (m < lastMonth) state = 4;
            else if (p % 7 == 3) state = 1;
            else if (p % 11 == 5) state = 3;
            // The batch of a taken subsidy says what was taken: a deduction of a dirty run is negative.
            const i64 money = t != taken.end() ? t->second->amount : e.monthlySubsidy;
            std::vector<Value> v = {i64{static_cast<int>(p) + 1}, i64{term.id}, term.no,
                                    timeText(std::min(start + hms(6, 45), f_.until)),
                                    i64{kFinanceOperator}, money, i64{mo.year}, i64{mo.month},
                                    i64{kIcMonthly}, i64{state}, state == 4 ? Value(stopped) : Value()};
            if (state == 2) {
                const Facts::Taken& k = *t->second;
                for (Value x : {Value(k.amount), Value(timeText(k.time)), Value(i64{k.machId}), Value(k.balanceAfter),
                                Value(k.serial)})
                    v.push_back(x);
            } else {
                for (int i = 0; i < 5; ++i) v.emplace_back();
            }
            out_.execute("insert into BuTie_OK(Pinfo_ID,Mach_ID,Mach_No,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,"
                         "B_Month,B_Times,B_Type,B_SF,B_Unit,FaFang_DT,B_JinE_SJ,B_Get_DT,B_Get_Mach,B_Get_YuE,"
                         "B_Get_LiuShui) values(?,?,?,?,?,?,0,?,?,?,0,?,1,?,?,?,?,?,?)",
                         v);
        }
    }
    const Facts::Month& now = f_.months.back();
    const i64 prepared = std::min(std::max(monthFirstDay(now), f_.firstDay) * kDay + hms(8, 15), f_.until);
    for (std::size_t p = 0; p < f_.employees.size(); ++p) {
        const Facts::Employee& e = f_.employees[p];
        if (e.left) continue;
        const int person = static_cast<int>(p);
        if (e.monthlySubsidy > 0) {
            batchRow(person, "", kIcBonus, now, 1, -1, kIcBonusFen, 0, prepared, kFinanceOperator);
            out_.execute("insert into BuTie_DuiYing(Pinfo_ID,Mach_ID,B_Type) values(?,?,1)",
                         {i64{person + 1},
                          i64{f_.subsidyTerminals[static_cast<std::size_t>(e.subsidyTerminal)].id}});
        }
        if (e.timesPurse) batchRow(person, "", kIcTimes, now, 2, -1, 0, kIcTimesGift, prepared, kFinanceOperator);
    }
    // The batches of the settled past were also backed up.
    const i64 until = settledUntil(f_.firstDay, f_.lastDay);
    if (until >= 0) {
        const Civil c = civilFromDays(until);
        out_.execute("insert into BuTie_BF_OK select * from BuTie_OK where B_Times > 0 and B_Year * 100 + B_Month < ?",
                     {i64{c.y * 100 + c.m}});
    }
}

void WindowRows::write() {
    settlePast();
    mealTables();
    idHolders();
    icBatches();
}

}  // namespace

i64 settledUntil(i64 firstDay, i64 lastDay) {
    if (lastDay - firstDay < 150) return -1;
    const Civil c = civilFromDays(firstDay + (lastDay - firstDay) / 4);
    return daysFromCivil(c.y, c.m, 1) > firstDay ? daysFromCivil(c.y, c.m, 1) : -1;
}

long writeWindowData(const Facts& facts, Sink& out) {
    if (facts.employees.empty() || facts.months.empty()) return 0;
    WindowRows rows(facts, out);
    rows.write();
    return rows.holders();
}

}  // namespace tolvenk::demo::gen

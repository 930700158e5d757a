#include "demo_gen/DemoGenerator.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <regex>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Schemas.h"
#include "platform/Clock.h"
#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/DbError.h"
#include "demo_gen/Calendar.h"
#include "demo_gen/SqliteFile.h"
#include "demo_gen/WindowData.h"

namespace tolvenk::demo {

namespace {

namespace fs = std::filesystem;
using db::Value;
using namespace gen;
constexpr long kMaxTransactions = 10'000'000;  // the event list is held in memory

// ---------------------------------------------------------------- fixed tables

struct DeptDef {
    const char* no;
    const char* name;
    int headcount;  // relative share of the employees
};
constexpr DeptDef kDepts[] = {
    {"01", "行政部", 2},       {"0101", "总经理办公室", 3}, {"0102", "人力资源科", 4}, {"0103", "财务科", 5},
    {"02", "生产部", 2},       {"0201", "生产一车间", 6},   {"020101", "装配班", 18},   {"020102", "包装班", 14},
    {"0202", "生产二车间", 6}, {"020201", "机加班", 16},    {"020202", "焊接班", 12},   {"0203", "质检科", 8},
    {"03", "后勤部", 2},       {"0301", "食堂", 10},        {"0302", "保卫科", 6},      {"0303", "车队", 5},
    {"04", "技术部", 2},       {"0401", "研发中心", 4},     {"040101", "软件组", 9},    {"040102", "硬件组", 8},
    {"0402", "工艺科", 6},
};

constexpr const char* kPositions[] = {"总经理", "部门经理", "主管", "工程师", "技术员",
                                      "操作工", "文员",     "厨师", "保安",   "司机"};
constexpr int kPositionShare[] = {1, 6, 10, 14, 16, 40, 10, 5, 5, 4};

constexpr const char* kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙",
                                     "马", "朱", "胡", "郭", "何", "高", "林", "罗", "郑", "梁", "谢", "宋",
                                     "唐", "许", "韩", "冯", "邓", "曹", "彭", "曾", "肖", "田", "董", "袁"};
constexpr const char* kMaleChars[] = {"伟", "强", "磊", "军", "洋", "勇", "杰", "涛", "明", "超", "刚", "建",
                                      "文", "辉", "力", "斌", "宇", "浩", "凯", "鹏", "晨", "俊", "博", "志"};
constexpr const char* kFemaleChars[] = {"芳", "娜", "敏", "静", "丽", "艳", "娟", "秀", "霞", "平", "英", "华",
                                        "玉", "萍", "红", "欣", "怡", "婷", "雪", "琳", "晓", "涵", "思", "雨"};
constexpr const char* kEducation[] = {"初中", "高中", "中专", "大专", "本科", "硕士"};
constexpr int kEducationShare[] = {10, 20, 15, 25, 25, 5};

struct KindDef {
    int leiBie;
    const char* name;
    const char* remark;
    int issueFee, returnFee, changeFee;
    int largestOnce;
    int monthlySubsidy;  // -1: none
    int openingLo, openingHi;
    int share;
    bool timesPurse;
};
constexpr KindDef kKinds[] = {
    {1, "普通卡", "在职员工就餐", 1000, 1000, 1500, 5000, 20000, 0, 20000, 75, false},
    {2, "临时卡", "临时人员与访客", 2000, 2000, 2000, 3000, -1, 5000, 10000, 8, false},
    {3, "贵宾卡", "来宾接待", 0, 0, 0, 20000, 50000, 20000, 50000, 5, false},
    {4, "计次卡", "按次就餐", 1000, 1000, 1500, 5000, 10000, 0, 10000, 12, true},
};
constexpr int kTimesOnIssue = 20;

constexpr const char* kPlaces[] = {"第一食堂", "第二食堂", "职工超市", "服务大厅", "宿舍开水房"};
constexpr const char* kOwners[] = {"后勤服务中心", "超市经营部", "结算中心"};
constexpr const char* kCashierNames[] = {"韩雨桐", "曹立新", "彭书瑶", "蒋振华"};

struct UserDef {
    const char* name;
    int grade;
    const char* remark;
};
constexpr UserDef kUsers[] = {{"admin", 0, "系统管理员"}, {"财务员", 1, "充值与退款"}, {"食堂主管", 1, "食堂报表"}};
constexpr int kDeskOperator = 1;  // User_ID on rows made at the office computer

enum class Role { Canteen, Shop, Recharge, Subsidy, Water, Desk };
struct TermDef {
    const char* name;
    const char* no;
    int machType;
    int xfType;
    int buTie;
    int place;  // 1-based XF_Dian_ID
    int owner;  // 1-based XF_Unit_ID
    Role role;
};
constexpr TermDef kTerms[] = {
    {"一食堂1号机", "001", 301, 1, 0, 1, 1, Role::Canteen},
    {"一食堂2号机", "002", 301, 1, 0, 1, 1, Role::Canteen},
    {"一食堂3号机", "003", 301, 1, 0, 1, 1, Role::Canteen},
    {"二食堂1号机", "004", 302, 1, 0, 2, 1, Role::Canteen},
    {"二食堂2号机", "005", 302, 1, 0, 2, 1, Role::Canteen},
    {"超市收款机", "006", 303, 1, 0, 3, 2, Role::Shop},
    {"服务大厅充值机", "007", 201, 5, 0, 4, 3, Role::Recharge},
    {"服务大厅补贴机", "008", 211, 25, 1, 4, 3, Role::Subsidy},
    {"一食堂补贴机", "009", 211, 27, 0, 1, 3, Role::Subsidy},
    {"开水房转账机", "010", 221, 17, 0, 5, 1, Role::Water},
    {"财务室发卡器", "011", 101, 161, 0, 4, 3, Role::Desk},
};
constexpr std::size_t kSalesTerms = 6;  // the first six take meals and shop sales
constexpr std::size_t kRechargeTerm = 6, kWaterTerm = 9, kDeskTerm = 10;
constexpr std::size_t kSubsidyTerms[] = {7, 8};

struct MealDef {
    int code;
    int fromHour, toHour;  // [from, to)
    int share;
    int priceLo, priceHi;  // fen
    std::array<int, kSalesTerms> termShare;
};
constexpr MealDef kMeals[] = {
    {1, 6, 9, 25, 300, 900, {5, 5, 4, 4, 4, 0}},
    {2, 11, 13, 40, 800, 2200, {6, 6, 6, 5, 5, 3}},
    {3, 17, 19, 25, 700, 2000, {5, 5, 5, 4, 4, 3}},
    {4, 21, 23, 7, 600, 1500, {6, 6, 0, 0, 0, 0}},
    {5, 0, 2, 3, 300, 1200, {6, 0, 0, 0, 0, 0}},
};
constexpr int kShopLo = 200, kShopHi = 3000;

// Shares of the transaction kinds per 10,000; consumption takes the rest.
struct KindShare {
    int xfType;
    int per10k;
};
constexpr KindShare kShares[] = {{2, 40},  {3, 300}, {5, 350}, {7, 30},   {9, 30},
                                 {11, 100}, {17, 50}, {161, 150}, {162, 20}};

constexpr int kRechargeSteps[] = {5000, 10000, 20000, 30000, 50000};
constexpr int kRechargeShare[] = {2, 4, 3, 2, 1};
constexpr int kDeskSteps[] = {10000, 20000, 50000, 100000};
constexpr int kDeskShare[] = {3, 4, 2, 1};

constexpr int kLeaving = 5, kReplaced = 4, kFound = 2;

// ---------------------------------------------------------------- the model

struct Card {
    int person = 0;
    i64 noLng = 0;
    std::string no;
    std::string number;
    i64 issued = 0;
    i64 validFrom = 0, validUntil = 0;     // usable in [validFrom, validUntil)
    i64 blockedFrom = 0, blockedUntil = 0;  // reported lost, then found again
    int predecessor = -1;                   // replaced card whose purses move here
    bool started = false;
    i64 opening = 0, openingTimes = 0;
    i64 balance = 0, times = 0;
    i64 moneySerial = 0, timesSerial = 0;
    i64 lastTime = -1;  // of its last row

    bool usableAt(i64 t) const { return t >= validFrom && t < validUntil && !(t >= blockedFrom && t < blockedUntil); }
};

struct Person {
    int dept = 0;
    std::size_t kind = 0;
    std::string name, code, num, sex, birthday, education, inDate, outDate;
    int position = 0;
    bool left = false;
    std::vector<int> cards;  // in issue order; the last is the one in Card_Info
};

struct LogRow {
    i64 time;
    int card;
    int op;
    int operatorId;
    i64 faKa = 0, huan = 0, tui = 0, yuE = 0, yuCi = 0, zyJinE = 0, zyCi = 0;
    int newCard = -1;  // Huan_Number of a change
};

struct Event {
    i64 time;
    std::uint32_t order;
    std::uint16_t xfType;
    std::uint8_t meal;   // consumption kinds: meal code; subsidy: month index
    std::int32_t slot;   // pairs a consumption with its cancellation, -1 otherwise
};

struct Sale {
    int card = -1;
    std::size_t term = 0;
    i64 amount = 0;
};

// One Record_XF row as the simulation makes it; the writer turns it into values.
struct XfRow {
    i64 time;
    const std::string* cardNo;
    const std::string* cashier;  // empty text off the sales terminals
    i64 cardNoLng;
    i64 balanceOld, change, balanceNew, cardSerial;
    i64 timesChange, timesNew, timesSerial;
    i64 machSerial;
    int machId, person, leiBie, place, xfType, meal, operatorId, owner, errCode;
};

// Where the business rows go: a new file or a server database.
class Writer : public Sink {
public:
    virtual void add(const XfRow& row) = 0;
    // After the last row.
    virtual void flush() {}
};

class Generator {
public:
    // `until`: the last second a row may carry, the period's last unless
    // the period ends today.
    Generator(const Options& o, i64 firstDay, i64 lastDay, i64 until)
        : opt_(o),
          rng_(o.seed),
          dirt_(o.seed * 2654435761u + 0x5bd1e995u),
          firstDay_(firstDay),
          days_(lastDay - firstDay + 1),
          start_(firstDay * kDay),
          until_(until) {
        // The settled past keeps to what the settlement made of clean rows.
        const i64 settled = o.everyWindow ? settledUntil(firstDay, lastDay) : -1;
        dirtFrom_ = settled >= 0 ? settled * kDay : start_;
    }

    void plan();
    void writeReference(Writer& out);
    void writeTransactions(Writer& out);
    void writeCards(Writer& out);

    long employeesLeft() const {
        return static_cast<long>(std::count_if(people_.begin(), people_.end(), [](const Person& p) { return p.left; }));
    }
    long employees() const { return static_cast<long>(people_.size()); }
    long cardsIssued() const { return static_cast<long>(cards_.size()); }
    long cardsInUse() const { return cardInfoRows_; }
    long cardLogRows() const { return static_cast<long>(log_.size()); }
    long transactions() const { return rows_; }
    const Dirt& dirt() const { return dirtDone_; }
    // What the rows for the other windows build on; after writeTransactions.
    Facts facts() const;

private:
    // planning
    i64 officeTime(i64 day) {
        const i64 u = rng_.between(0, hms(3) + hms(4) - 1);
        return (firstDay_ + day) * kDay + (u < hms(3) ? hms(8, 30) + u : hms(13, 30) + u - hms(3));
    }
    int newCard(int person, i64 issued);
    int addCard(int person, i64 issued, i64 noLng, std::string no);
    void planCardEvents();
    void planDirt();
    int dirtPerson();
    void sameSecondAtTheEnd();
    bool dirtAt(i64 t, i64 oneIn) { return opt_.dirty && t >= dirtFrom_ && dirt_.oneIn(oneIn); }
    // Whether the period ends at the moment of the run rather than at its last midnight.
    bool endsNow() const { return until_ < start_ + days_ * kDay - 1; }
    // A time drawn again while it lies after the moment of the run; a
    // period ending then leaves room in its earlier hours, so the draws soon
    // fit. A clean period's draws all fit at once and stay as they were.
    template <class Draw>
    i64 notLater(Draw draw) {
        i64 t = draw();
        for (int tries = 0; t > until_ && tries < 64; ++tries) t = draw();
        return t > until_ ? fold(t) : t;
    }
    // The last resort for a period of a few early hours: a time folded into them.
    i64 fold(i64 t) const { return t <= until_ ? t : start_ + (t - start_) % (until_ - start_ + 1); }
    std::vector<Event> planEvents();

    // simulation
    int cardOf(int person, i64 t);
    int pickCard(i64 t);
    void writeRow(int card, std::size_t term, int xfType, int meal, i64 t, i64 change);
    void consume(const Event& e);
    void cancel(const Event& e);
    bool deductTimes(const Event& e);
    bool rechargeTimes(i64 t);
    void recharge(i64 t, bool desk);
    bool withdraw(i64 t, bool desk);
    bool subsidy(i64 t, int month);
    bool water(i64 t);

    const Options& opt_;
    Rng rng_;
    // The dirt draws from a generator of its own: a clean run never touches it.
    Rng dirt_;
    i64 firstDay_, days_, start_;
    i64 until_;
    i64 dirtFrom_;      // no dirt in the rows before: the settled past stays as a settlement leaves it
    int twin_ = -1;     // the person with two cards numbered alike but for case
    int idle_ = -1;     // the person whose card has no transactions
    Dirt dirtDone_;
    long rows_ = 0;
    long cardInfoRows_ = 0;

    std::vector<Person> people_;
    std::vector<Card> cards_;
    std::vector<i64> activity_;  // running totals of how often each person pays
    std::vector<int> timesPeople_;
    std::vector<LogRow> log_;
    std::set<i64> cardNumbers_;

    std::vector<std::vector<int>> subsidyDue_;  // per month: people not yet paid
    std::vector<Sale> sales_;
    std::array<i64, std::size(kTerms)> machSerial_{};  // last Mach_LiuShui of each terminal
    std::array<std::string, std::size(kCashierNames)> cashierIds_;
    std::vector<Facts::Taken> taken_;  // with everyWindow: the subsidies taken at the terminals

    Writer* out_ = nullptr;
    XfRow row_{};
};

int Generator::newCard(int person, i64 issued) {
    i64 noLng;
    do noLng = rng_.between(1'000'000'000, 4'294'967'295);
    while (!cardNumbers_.insert(noLng).second);
    return addCard(person, issued, noLng, std::to_string(noLng));
}

int Generator::addCard(int person, i64 issued, i64 noLng, std::string no) {
    Card c;
    c.person = person;
    c.noLng = noLng;
    c.no = std::move(no);
    c.number = padded(static_cast<i64>(cards_.size()) + 1, 6);
    c.issued = issued;
    cards_.push_back(std::move(c));
    people_[static_cast<std::size_t>(person)].cards.push_back(static_cast<int>(cards_.size()) - 1);
    return static_cast<int>(cards_.size()) - 1;
}

void Generator::plan() {
    for (std::size_t i = 0; i < std::size(kCashierNames); ++i) cashierIds_[i] = std::to_string(i + 1);

    std::vector<int> deptShare, kindShare;
    for (const auto& d : kDepts) deptShare.push_back(d.headcount);
    for (const auto& k : kKinds) kindShare.push_back(k.share);
    const i64 end = start_ + days_ * kDay;

    people_.resize(static_cast<std::size_t>(opt_.employees));
    i64 running = 0;
    for (int i = 0; i < opt_.employees; ++i) {
        Person& p = people_[static_cast<std::size_t>(i)];
        p.dept = static_cast<int>(rng_.weighted(deptShare));
        p.kind = rng_.weighted(kindShare);
        const bool male = rng_.between(0, 99) < 58;
        p.sex = male ? "男" : "女";
        p.name = kSurnames[rng_.between(0, std::size(kSurnames) - 1)];
        const int given = rng_.oneIn(3) ? 1 : 2;
        for (int g = 0; g < given; ++g)
            p.name += male ? kMaleChars[rng_.between(0, std::size(kMaleChars) - 1)]
                           : kFemaleChars[rng_.between(0, std::size(kFemaleChars) - 1)];
        p.code = "E" + padded(i + 1, 4);
        p.num = padded(10001 + i, 5);
        p.position = static_cast<int>(rng_.weighted(kPositionShare)) + 1;
        const i64 born = daysFromCivil(static_cast<int>(rng_.between(1966, 2004)), 1, 1);
        p.birthday = dayText(born + rng_.between(0, 364));
        p.education = kEducation[rng_.weighted(kEducationShare)];
        p.inDate = dayText(firstDay_ - rng_.between(40, 365 * 12));
        running += rng_.between(2, 10);
        activity_.push_back(running);
        if (kKinds[p.kind].timesPurse) timesPeople_.push_back(i);

        // Cards were issued in the weeks before the period, when the office went over to the new system.
        const int c = newCard(i, officeTime(-rng_.between(1, 30)));
        Card& card = cards_[static_cast<std::size_t>(c)];
        const KindDef& k = kKinds[p.kind];
        card.opening = rng_.between(k.openingLo / 1000, k.openingHi / 1000) * 1000;
        card.openingTimes = k.timesPurse ? kTimesOnIssue : 0;
        card.validFrom = card.issued;
        card.validUntil = end;
        card.started = true;
        card.balance = card.opening;
        card.times = card.openingTimes;
        log_.push_back({card.issued, c, 0, 1 + static_cast<int>(rng_.oneIn(3)), k.issueFee, 0, 0, card.opening,
                        card.openingTimes, 0, 0, -1});
    }
    planCardEvents();
    if (opt_.dirty) planDirt();
}

namespace {

std::string hexText(i64 v, bool upper) {
    char out[17];
    std::snprintf(out, sizeof out, upper ? "%08llX" : "%08llx", static_cast<unsigned long long>(v));
    return out;
}

constexpr std::size_t kDirtKind = 1;  // 临时卡: no subsidy, no times purse

}  // namespace

// One more employee, on a card kind without subsidy, in any department.
int Generator::dirtPerson() {
    const int i = static_cast<int>(people_.size());
    Person p;
    p.dept = static_cast<int>(dirt_.between(0, std::size(kDepts) - 1));
    p.kind = kDirtKind;
    p.sex = dirt_.oneIn(2) ? "男" : "女";
    p.name = std::string(kSurnames[dirt_.between(0, std::size(kSurnames) - 1)]) +
             (p.sex == "男" ? kMaleChars[dirt_.between(0, std::size(kMaleChars) - 1)]
                            : kFemaleChars[dirt_.between(0, std::size(kFemaleChars) - 1)]);
    p.code = "E" + padded(i + 1, i + 1 > 9999 ? 5 : 4);
    p.num = padded(10001 + i, 5);
    p.position = static_cast<int>(std::size(kPositions));
    p.birthday = dayText(daysFromCivil(static_cast<int>(dirt_.between(1970, 2000)), 6, 1));
    p.education = kEducation[1];
    p.inDate = dayText(firstDay_ - dirt_.between(40, 400));
    people_.push_back(std::move(p));
    activity_.push_back(activity_.back());  // never picked to pay
    return i;
}

// The people and cards of the dirt: one employee has a second card whose
// number is his first card's in other letter case (the old one re-read in
// hexadecimal, the new one written so), one has a card and never uses it,
// and one has no card at all.
void Generator::planDirt() {
    std::vector<int> candidates;
    for (std::size_t i = 0; i < people_.size(); ++i) {
        const Person& p = people_[i];
        if (p.cards.size() != 1 || p.left || kKinds[p.kind].timesPurse) continue;
        const Card& c = cards_[static_cast<std::size_t>(p.cards[0])];
        if (c.blockedFrom != c.blockedUntil) continue;
        const std::string hex = hexText(c.noLng, true);
        if (hex.find_first_of("ABCDEF") != std::string::npos) candidates.push_back(static_cast<int>(i));
    }
    const i64 end = start_ + days_ * kDay;
    if (!candidates.empty()) {
        twin_ = candidates[static_cast<std::size_t>(dirt_.between(0, candidates.size() - 1))];
        Card& first = cards_[static_cast<std::size_t>(people_[static_cast<std::size_t>(twin_)].cards[0])];
        first.no = hexText(first.noLng, true);
        const i64 noLng = first.noLng;
        // Issued in the first third of the dirty part of the period.
        const i64 issued = notLater([&] {
            const i64 day = dirtFrom_ / kDay + dirt_.between(0, std::max<i64>((end - dirtFrom_) / kDay / 3, 1) - 1);
            return day * kDay + hms(9) + dirt_.between(0, hms(8));
        });
        const int c = addCard(twin_, issued, noLng, hexText(noLng, false));
        Card& card = cards_[static_cast<std::size_t>(c)];
        card.validFrom = issued + 60;
        card.validUntil = end;
        card.started = true;
        card.opening = card.balance = dirt_.between(5, 30) * 1000;
        log_.push_back({issued, c, 0, 1, kKinds[people_[static_cast<std::size_t>(twin_)].kind].issueFee, 0, 0,
                        card.opening, 0, 0, 0, -1});
    }

    idle_ = dirtPerson();
    i64 noLng;
    do noLng = dirt_.between(1'000'000'000, 4'294'967'295);
    while (!cardNumbers_.insert(noLng).second);
    const i64 issued = (firstDay_ - dirt_.between(1, 30)) * kDay + hms(10) + dirt_.between(0, hms(6));
    const int c = addCard(idle_, issued, noLng, std::to_string(noLng));
    Card& card = cards_[static_cast<std::size_t>(c)];
    card.validFrom = issued;
    card.validUntil = end;
    card.started = true;
    card.opening = card.balance = dirt_.between(1, 20) * 1000;
    log_.push_back({issued, c, 0, 1, kKinds[kDirtKind].issueFee, 0, 0, card.opening, 0, 0, 0, -1});

    dirtPerson();  // no card
}

// A few people leave, lose a card for good or for a day: the card log and the
// chains must show it.
void Generator::planCardEvents() {
    if (days_ < 7) return;
    std::vector<int> order(people_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    rng_.shuffle(order);
    std::size_t next = 0;
    auto dayIn = [&](int fromPercent, int toPercent) { return rng_.between(days_ * fromPercent / 100, days_ * toPercent / 100); };
    auto at = [&](i64 day, i64 from, i64 to) { return (firstDay_ + day) * kDay + rng_.between(from, to); };

    for (int n = 0; n < kLeaving; ++n) {
        const int who = order[next++];
        Person& p = people_[static_cast<std::size_t>(who)];
        const int c = p.cards.back();
        Card& card = cards_[static_cast<std::size_t>(c)];
        card.validUntil = notLater([&] { return at(dayIn(20, 90), hms(16), hms(17, 30)); });
        p.left = true;
        p.outDate = timeText(card.validUntil).substr(0, 10);
        log_.push_back({card.validUntil, c, 4, 1, 0, 0, kKinds[p.kind].returnFee, 0, 0, 0, 0, -1});
    }
    for (int n = 0; n < kReplaced; ++n) {
        const int who = order[next++];
        const int old = people_[static_cast<std::size_t>(who)].cards.back();
        i64 lost = 0;
        const i64 changed = notLater([&] {
            const i64 day = dayIn(10, 80);
            lost = at(day, hms(10), hms(18));
            return at(day + 1, hms(9), hms(11));
        });
        lost = std::min(lost, changed);
        cards_[static_cast<std::size_t>(old)].validUntil = lost;
        const int c = newCard(who, changed);
        Card& card = cards_[static_cast<std::size_t>(c)];
        card.predecessor = old;
        card.validFrom = changed + 60;
        card.validUntil = start_ + days_ * kDay;
        const i64 fee = kKinds[people_[static_cast<std::size_t>(who)].kind].changeFee;
        log_.push_back({lost, old, 1, 1, 0, 0, 0, 0, 0, 0, 0, -1});
        log_.push_back({changed, old, 3, 2, 0, fee, 0, 0, 0, 0, 0, c});
        log_.push_back({changed, c, 0, 2, 0, fee, 0, 0, 0, 0, 0, -1});
    }
    for (int n = 0; n < kFound; ++n) {
        const int who = order[next++];
        const int c = people_[static_cast<std::size_t>(who)].cards.back();
        Card& card = cards_[static_cast<std::size_t>(c)];
        card.blockedUntil = notLater([&] {
            const i64 day = dayIn(10, 80);
            card.blockedFrom = at(day, hms(10), hms(18));
            return at(day + 1, hms(9), hms(11));
        });
        card.blockedFrom = std::min(card.blockedFrom, card.blockedUntil);
        log_.push_back({card.blockedFrom, c, 1, 1, 0, 0, 0, 0, 0, 0, 0, -1});
        log_.push_back({card.blockedUntil, c, 2, 1, 0, 0, 0, 0, 0, 0, 0, -1});
    }
}

std::vector<Event> Generator::planEvents() {
    std::vector<int> dayShare, officeDays;
    for (i64 d = 0; d < days_; ++d) {
        const int wd = weekday(firstDay_ + d);
        dayShare.push_back(wd == 0 ? 5 : wd == 6 ? 6 : 10);
        if (wd != 0 && wd != 6) officeDays.push_back(static_cast<int>(d));
    }
    if (officeDays.empty())
        for (i64 d = 0; d < days_; ++d) officeDays.push_back(static_cast<int>(d));
    std::vector<i64> dayRunning;
    i64 sum = 0;
    for (int s : dayShare) dayRunning.push_back(sum += s);

    // Subsidies are paid out from the first days of each month.
    std::vector<std::vector<int>> subsidyDays;
    for (i64 d = 0; d < days_; ++d) {
        const Civil c = civilFromDays(firstDay_ + d);
        if (d == 0 || c.d == 1) subsidyDays.emplace_back();
        if (subsidyDays.back().size() < 10) subsidyDays.back().push_back(static_cast<int>(d));
    }
    std::vector<int> eligible;
    for (std::size_t i = 0; i < people_.size(); ++i)
        if (kKinds[people_[i].kind].monthlySubsidy > 0) eligible.push_back(static_cast<int>(i));
    subsidyDue_.assign(subsidyDays.size(), eligible);

    const long n = opt_.transactions;
    std::vector<std::pair<int, long>> counts;
    long others = 0;
    for (const auto& s : kShares) {
        long c = n * s.per10k / 10000;
        if (s.xfType == 11) c = std::min<long>(c, static_cast<long>(eligible.size() * subsidyDays.size()));
        counts.emplace_back(s.xfType, c);
        others += c;
    }
    const long meals = n - others;

    std::vector<Event> ev;
    ev.reserve(static_cast<std::size_t>(n));
    std::vector<int> mealShare;
    for (const auto& m : kMeals) mealShare.push_back(m.share);
    auto day = [&] { return static_cast<i64>(rng_.cumulative(dayRunning)); };
    auto add = [&](i64 t, int type, int meal) {
        ev.push_back({t, static_cast<std::uint32_t>(ev.size()), static_cast<std::uint16_t>(type),
                      static_cast<std::uint8_t>(meal), -1});
    };
    auto mealEvent = [&](int type) {
        int meal = 0;
        const i64 t = notLater([&] {
            const MealDef& m = kMeals[rng_.weighted(mealShare)];
            const i64 len = hms(m.toHour - m.fromHour);
            // Two draws averaged: queues peak in the middle of a meal.
            const i64 offset = (rng_.between(0, len - 1) + rng_.between(0, len - 1)) / 2;
            meal = m.code;
            return start_ + day() * kDay + hms(m.fromHour) + offset;
        });
        add(t, type, meal);
    };
    // Operands of + are unsequenced, so draws that are not interchangeable get
    // statements of their own: a seed's data must not depend on the compiler.
    auto daytime = [&](int type, int fromHour, int toHour) {
        add(notLater([&] {
                const i64 d = day();
                return start_ + d * kDay + rng_.between(hms(fromHour), hms(toHour) - 1);
            }),
            type, 0);
    };

    for (long i = 0; i < meals; ++i) mealEvent(1);
    for (const auto& [type, count] : counts)
        for (long i = 0; i < count; ++i) switch (type) {
            case 2: {
                // A cancellation follows the sale it takes back within a minute or two.
                std::size_t k = static_cast<std::size_t>(rng_.between(0, meals - 1));
                while (ev[k].slot >= 0) k = (k + 1) % static_cast<std::size_t>(meals);
                ev[k].slot = static_cast<std::int32_t>(sales_.size());
                add(std::min(ev[k].time + rng_.between(5, 90), until_), 2, ev[k].meal);
                ev.back().slot = ev[k].slot;
                sales_.emplace_back();
                break;
            }
            case 3: mealEvent(3); break;
            case 5: daytime(5, 7, 20); break;
            case 7: daytime(7, 7, 20); break;
            case 9: daytime(9, 7, 20); break;
            case 17: daytime(17, 6, 22); break;
            case 161:
            case 162:
                add(notLater([&] {
                        return officeTime(officeDays[static_cast<std::size_t>(rng_.between(0, officeDays.size() - 1))]);
                    }),
                    type, 0);
                break;
            case 11: {
                const std::size_t month = static_cast<std::size_t>(i) % subsidyDays.size();
                const auto& ds = subsidyDays[month];
                i64 t = 0;
                for (int tries = 0; tries < 64 && (tries == 0 || t > until_); ++tries) {
                    // Most people collect their subsidy in the first days.
                    const i64 d = ds[static_cast<std::size_t>(std::min(rng_.between(0, ds.size() - 1), rng_.between(0, ds.size() - 1)))];
                    t = start_ + d * kDay + rng_.between(hms(7), hms(20) - 1);
                }
                // A month whose paying hours have not come yet: a recharge takes its place.
                if (t > until_) daytime(5, 7, 20);
                else add(t, 11, static_cast<int>(month));
                break;
            }
        }
    std::sort(ev.begin(), ev.end(), [](const Event& a, const Event& b) {
        return a.time != b.time ? a.time < b.time : a.order < b.order;
    });
    return ev;
}

// The card the person holds at t, or -1 (left, card lost).
int Generator::cardOf(int person, i64 t) {
    if (person == idle_) return -1;
    if (person == twin_) {
        // Either of the twin cards pays.
        const auto& twins = people_[static_cast<std::size_t>(person)].cards;
        const int other = twins[1 - static_cast<std::size_t>(dirt_.between(0, 1))];
        if (cards_[static_cast<std::size_t>(other)].usableAt(t)) return other;
    }
    for (int c : people_[static_cast<std::size_t>(person)].cards) {
        Card& card = cards_[static_cast<std::size_t>(c)];
        if (!card.usableAt(t)) continue;
        if (!card.started) {
            // A replacement takes over the purses of the lost card, whose last row is behind us.
            const Card& old = cards_[static_cast<std::size_t>(card.predecessor)];
            card.opening = card.balance = old.balance;
            card.openingTimes = card.times = old.times;
            card.started = true;
        }
        return c;
    }
    return -1;
}

int Generator::pickCard(i64 t) {
    for (int tries = 0; tries < 32; ++tries) {
        const int c = cardOf(static_cast<int>(rng_.cumulative(activity_)), t);
        if (c >= 0) return c;
    }
    const int from = static_cast<int>(rng_.between(0, people_.size() - 1));
    for (std::size_t i = 0; i < people_.size(); ++i) {
        const int c = cardOf(static_cast<int>((from + i) % people_.size()), t);
        if (c >= 0) return c;
    }
    throw std::logic_error("no card is usable at " + timeText(t));
}

// One Record_XF row. Kinds 3 and 7 move the times purse and leave the money
// alone; every other kind moves the money and carries the times balance along.
void Generator::writeRow(int c, std::size_t term, int xfType, int meal, i64 t, i64 change) {
    Card& card = cards_[static_cast<std::size_t>(c)];
    const bool timesKind = xfType == 3 || xfType == 7;
    const i64 old = card.balance;
    i64 cardSerial = 0, timesSerial = 0;
    if (timesKind) {
        card.times += change;
        timesSerial = ++card.timesSerial;
    } else {
        card.balance += change;
        cardSerial = ++card.moneySerial;
    }
    if (card.balance < 0 || card.times < 0) throw std::logic_error("card " + card.no + " would go below zero");

    const TermDef& td = kTerms[term];
    const bool sale = td.role == Role::Canteen || td.role == Role::Shop;
    const bool desk = td.role == Role::Desk;
    static const std::string noCashier;
    XfRow& r = row_;
    r.time = t;
    r.cardNo = &card.no;
    // The cashier on duty depends on the terminal and the meal shift.
    r.cashier = sale ? &cashierIds_[(term + static_cast<std::size_t>(meal)) % cashierIds_.size()] : &noCashier;
    r.cardNoLng = card.noLng;
    r.balanceOld = old;
    r.change = timesKind ? 0 : change;
    r.balanceNew = card.balance;
    r.cardSerial = cardSerial;
    r.timesChange = timesKind ? change : 0;
    r.timesNew = card.times;
    r.timesSerial = timesSerial;
    r.machSerial = ++machSerial_[term];
    r.machId = static_cast<int>(term) + 1;
    r.person = card.person + 1;
    r.leiBie = kKinds[people_[static_cast<std::size_t>(card.person)].kind].leiBie;
    r.place = td.place;
    r.xfType = xfType;
    r.meal = meal;
    r.operatorId = desk ? kDeskOperator : 0;
    r.owner = td.owner;
    // A terminal that lost the card before its write was confirmed marks the row uncertain.
    r.errCode = !desk && rng_.oneIn(1000) ? 1 : 0;
    card.lastTime = t;
    out_->add(r);
    ++rows_;
    // A terminal that missed the office's receipt uploads the row again.
    if (dirtAt(t, 150)) {
        out_->add(r);
        ++rows_;
        ++dirtDone_.duplicates;
    }
}

void Generator::consume(const Event& e) {
    const MealDef& m = kMeals[e.meal - 1];
    const std::size_t term = rng_.weighted(m.termShare);
    const i64 price = kTerms[term].role == Role::Shop ? rng_.between(kShopLo / 10, kShopHi / 10) * 10
                                                      : rng_.between(m.priceLo / 50, m.priceHi / 50) * 50;
    int best = -1;
    for (int tries = 0; tries < 6; ++tries) {
        const int c = pickCard(e.time);
        if (cards_[static_cast<std::size_t>(c)].balance >= price) {
            best = c;
            break;
        }
        if (best < 0 || cards_[static_cast<std::size_t>(c)].balance > cards_[static_cast<std::size_t>(best)].balance)
            best = c;
    }
    // A card short of the price pays what it has; the rest goes in cash.
    const i64 amount = std::min(price, cards_[static_cast<std::size_t>(best)].balance);
    if (amount < 100) {
        recharge(e.time, false);
        return;
    }
    writeRow(best, term, 1, m.code, e.time, -amount);
    if (e.slot >= 0) sales_[static_cast<std::size_t>(e.slot)] = {best, term, amount};
    // Something more on the same tray, booked in the same second.
    if (dirtAt(e.time, 100)) {
        const i64 more = std::min(cards_[static_cast<std::size_t>(best)].balance, dirt_.between(1, 5) * 100);
        if (more > 0) {
            writeRow(best, term, 1, m.code, e.time, -more);
            ++dirtDone_.sameSecond;
        }
    }
}

void Generator::cancel(const Event& e) {
    const Sale& s = sales_[static_cast<std::size_t>(e.slot)];
    if (s.card < 0 || !cards_[static_cast<std::size_t>(s.card)].usableAt(e.time)) {
        Event sale = e;
        sale.slot = -1;
        consume(sale);
        return;
    }
    writeRow(s.card, s.term, 2, e.meal, e.time, s.amount);
}

bool Generator::deductTimes(const Event& e) {
    if (timesPeople_.empty()) return false;
    for (int tries = 0; tries < 6; ++tries) {
        const int c = cardOf(timesPeople_[static_cast<std::size_t>(rng_.between(0, timesPeople_.size() - 1))], e.time);
        if (c < 0 || cards_[static_cast<std::size_t>(c)].times <= 0) continue;
        auto share = kMeals[e.meal - 1].termShare;
        share[kSalesTerms - 1] = 0;  // the shop sells, it does not count meals
        writeRow(c, rng_.weighted(share), 3, e.meal, e.time, -1);
        return true;
    }
    return false;
}

bool Generator::rechargeTimes(i64 t) {
    if (timesPeople_.empty()) return false;
    for (int tries = 0; tries < 6; ++tries) {
        const int c = cardOf(timesPeople_[static_cast<std::size_t>(rng_.between(0, timesPeople_.size() - 1))], t);
        if (c < 0) continue;
        writeRow(c, kRechargeTerm, 7, 0, t, rng_.between(1, 3) * 10);
        return true;
    }
    return false;
}

void Generator::recharge(i64 t, bool desk) {
    // Whoever runs low tops up: the poorest of three.
    int c = pickCard(t);
    for (int k = 0; k < 2; ++k) {
        const int other = pickCard(t);
        if (cards_[static_cast<std::size_t>(other)].balance < cards_[static_cast<std::size_t>(c)].balance) c = other;
    }
    const i64 amount = desk ? kDeskSteps[rng_.weighted(kDeskShare)] : kRechargeSteps[rng_.weighted(kRechargeShare)];
    writeRow(c, desk ? kDeskTerm : kRechargeTerm, desk ? 161 : 5, 0, t, amount);
}

bool Generator::withdraw(i64 t, bool desk) {
    for (int tries = 0; tries < 6; ++tries) {
        const int c = pickCard(t);
        const i64 balance = cards_[static_cast<std::size_t>(c)].balance;
        if (balance < 5000) continue;
        writeRow(c, desk ? kDeskTerm : kRechargeTerm, desk ? 162 : 9, 0, t, -rng_.between(1, balance / 2000) * 1000);
        return true;
    }
    return false;
}

bool Generator::subsidy(i64 t, int month) {
    auto& due = subsidyDue_[static_cast<std::size_t>(month)];
    while (!due.empty()) {
        const std::size_t k = static_cast<std::size_t>(rng_.between(0, due.size() - 1));
        const int person = due[k];
        due[k] = due.back();
        due.pop_back();
        const int c = cardOf(person, t);
        if (c < 0) continue;  // gone, or the card is lost: the subsidy waits for next month
        constexpr int share[] = {3, 2};
        std::size_t term = kSubsidyTerms[rng_.weighted(share)];
        i64 amount = kKinds[people_[static_cast<std::size_t>(person)].kind].monthlySubsidy;
        // A deduction paid out as the month's subsidy: it takes money off the card (the first one surely).
        if (opt_.dirty && t >= dirtFrom_ && (dirtDone_.negativeSubsidies == 0 || dirt_.oneIn(10))) {
            const i64 back = std::min(cards_[static_cast<std::size_t>(c)].balance / 100 * 100, amount / 2);
            if (back > 0) {
                amount = -back;
                ++dirtDone_.negativeSubsidies;
            }
        }
        // With the batches written too, each employee takes his subsidy at the terminal assigned to him.
        if (opt_.everyWindow) term = kSubsidyTerms[static_cast<std::size_t>(subsidyTerminalOf(person))];
        writeRow(c, term, 11, 0, t, amount);
        if (opt_.everyWindow) {
            const Card& card = cards_[static_cast<std::size_t>(c)];
            taken_.push_back({person, month, t, static_cast<int>(term) + 1, amount, card.balance, card.moneySerial});
        }
        return true;
    }
    return false;
}

bool Generator::water(i64 t) {
    const i64 amount = rng_.between(2, 20) * 100;
    for (int tries = 0; tries < 6; ++tries) {
        const int c = pickCard(t);
        if (cards_[static_cast<std::size_t>(c)].balance < amount) continue;
        writeRow(c, kWaterTerm, 17, 0, t, -amount);
        return true;
    }
    return false;
}

void Generator::writeTransactions(Writer& out) {
    out_ = &out;
    const std::vector<Event> events = planEvents();
    // Every event writes exactly one row; a kind that finds no fitting card
    // falls back to one that always can, so the count is the one asked for.
    for (const Event& e : events) switch (e.xfType) {
        case 1: consume(e); break;
        case 2: cancel(e); break;
        case 3:
            if (!deductTimes(e)) consume(e);
            break;
        case 7:
            if (!rechargeTimes(e.time)) recharge(e.time, false);
            break;
        case 9:
            if (!withdraw(e.time, false)) recharge(e.time, false);
            break;
        case 11:
            if (!subsidy(e.time, e.meal)) recharge(e.time, false);
            break;
        case 17:
            if (!water(e.time)) recharge(e.time, false);
            break;
        case 161: recharge(e.time, true); break;
        case 162:
            if (!withdraw(e.time, true)) recharge(e.time, true);
            break;
        default: recharge(e.time, false); break;
        }
    if (opt_.dirty) sameSecondAtTheEnd();
    out.flush();

    // Replacements that were never used still take over the old purses.
    for (Card& card : cards_)
        if (!card.started) {
            const Card& old = cards_[static_cast<std::size_t>(card.predecessor)];
            card.opening = card.balance = old.balance;
            card.openingTimes = card.times = old.times;
            card.started = true;
        }
    for (LogRow& r : log_) {
        const Card& card = cards_[static_cast<std::size_t>(r.card)];
        if (r.op == 4) {
            r.zyJinE = card.balance;  // paid back in cash
        } else if (r.op == 3) {
            r.zyJinE = card.balance;
            r.zyCi = card.times;
        } else if (r.op == 0 && card.predecessor >= 0) {
            r.yuE = card.opening;
            r.yuCi = card.openingTimes;
        }
    }
}

// Rows in the same second as a card's last row: a few cards get another
// transaction then, and one twin card one in the second of the other's last.
void Generator::sameSecondAtTheEnd() {
    const i64 end = start_ + days_ * kDay;
    std::vector<int> last;
    for (std::size_t c = 0; c < cards_.size(); ++c) {
        const Card& card = cards_[c];
        if (card.moneySerial > 0 && card.validUntil == end && card.lastTime >= dirtFrom_ && card.person != twin_)
            last.push_back(static_cast<int>(c));
    }
    dirt_.shuffle(last);
    last.resize(std::min<std::size_t>(last.size(), std::clamp<std::size_t>(cards_.size() / 30, 3, 200)));
    std::vector<std::pair<int, i64>> rows;  // card, time
    for (int c : last) rows.emplace_back(c, cards_[static_cast<std::size_t>(c)].lastTime);
    if (twin_ >= 0) {
        const auto& twins = people_[static_cast<std::size_t>(twin_)].cards;
        const Card &a = cards_[static_cast<std::size_t>(twins[0])], &b = cards_[static_cast<std::size_t>(twins[1])];
        if (a.lastTime >= dirtFrom_ && b.lastTime >= dirtFrom_ && a.lastTime != b.lastTime)
            rows.emplace_back(a.lastTime < b.lastTime ? twins[0] : twins[1], std::max(a.lastTime, b.lastTime));
    }
    for (const auto& [c, t] : rows) {
        const i64 balance = cards_[static_cast<std::size_t>(c)].balance;
        if (balance >= 200)
            writeRow(c, kWaterTerm, 17, 0, t, -std::min(balance / 100, dirt_.between(2, 20)) * 100);
        else
            writeRow(c, kRechargeTerm, 5, 0, t, kRechargeSteps[dirt_.between(0, std::size(kRechargeSteps) - 1)]);
        ++dirtDone_.sameSecond;
    }
}

void Generator::writeReference(Writer& out) {
    std::vector<int> deptIds;
    for (std::size_t i = 0; i < std::size(kDepts); ++i) {
        const std::string no = kDepts[i].no;
        const i64 level = static_cast<i64>(no.size() / 2) - 1;
        out.execute("insert into Ren_Dept_Info(Dept_No,Dept_Name,Dept_Level,Dept_Code,Last_DeptNo,Dept_Remark,Del_YN) "
                    "values(?,?,?,?,?,?,0)",
                    {no, kDepts[i].name, level, no, no.substr(0, no.size() - 2), Value()});
    }
    // Set up for a workshop that has nobody yet.
    if (opt_.dirty)
        out.execute("insert into Ren_Dept_Info(Dept_No,Dept_Name,Dept_Level,Dept_Code,Last_DeptNo,Dept_Remark,Del_YN) "
                    "values('0204','生产三车间',1,'0204','02',NULL,0)");
    for (const char* name : kPositions)
        out.execute("insert into Ren_Positions_Info(Position_Name,Position_Remark) values(?,'')", {name});

    const std::string added = timeText(start_ - 40 * kDay + hms(9));
    for (const Person& p : people_) {
        const DeptDef& d = kDepts[static_cast<std::size_t>(p.dept)];
        out.execute("insert into Ren_Per_Info(Dept_ID,Dept_No,P_Name,P_Code,P_Num,P_Sex,P_Position_ID,P_Birthday,"
                    "P_Nation,P_Edu,P_Marry,P_InDate,P_OutDate,P_State,Add_DT,Del_YN) "
                    "values(?,?,?,?,?,?,?,?,?,?,?,?,?,0,?,?)",
                    {static_cast<i64>(p.dept + 1), d.no, p.name, p.code, p.num, p.sex, static_cast<i64>(p.position),
                     p.birthday, "汉族", p.education, p.birthday < "1996" ? "已婚" : "未婚", p.inDate,
                     p.left ? Value(p.outDate) : Value(), added, static_cast<i64>(p.left ? 1 : 0)});
    }

    for (const KindDef& k : kKinds) {
        std::vector<Value> v = {static_cast<i64>(k.leiBie), k.name, k.remark, static_cast<i64>(k.issueFee),
                                static_cast<i64>(k.returnFee), static_cast<i64>(k.changeFee),
                                static_cast<i64>(k.largestOnce)};
        for (int i = 0; i < 12; ++i) v.emplace_back(i64{-1});  // no day or meal limits
        v.emplace_back(static_cast<i64>(k.monthlySubsidy));
        v.emplace_back(i64{-1});
        out.execute("insert into Card_Type(C_LeiBie,C_Name,C_Remark,C_F_Money,C_T_Money,C_H_Money,Ci_Yuan,"
                    "Tian_Yuan,Tian_Ci,Zao_Yuan,Zao_Ci,Zhong_Yuan,Zhong_Ci,Wan_Yuan,Wan_Ci,Ye_Yuan,Ye_Ci,"
                    "Xiao_Yuan,Xiao_Ci,BT_Money,BT_Ci,Del_YN) values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,0)",
                    v);
    }

    for (const char* name : kPlaces)
        out.execute("insert into XF_Dian_Info(XF_Dian_Name,XF_Dian_Remark,XF_Dian_Flag,Del_YN) values(?,'',0,0)",
                    {name});
    for (const char* name : kOwners)
        out.execute("insert into XF_Unit_Info(XF_Unit_Name,XF_Unit_Remark,XF_Unit_Flag,Del_YN) values(?,'',0,0)",
                    {name});
    for (std::size_t i = 0; i < std::size(kCashierNames); ++i)
        out.execute("insert into XF_ShouKuan(SK_ID,SK_Name,SK_Remark) values(?,?,'')",
                    {cashierIds_[i], kCashierNames[i]});
    for (const UserDef& u : kUsers)
        out.execute("insert into Sys_User_Info(User_Name,User_Pass,User_Grade,User_Remark,Del_YN) values(?,'',?,?,0)",
                    {u.name, static_cast<i64>(u.grade), u.remark});

    // The office reads the day before the earliest New_Date as the last day
    // whose data is complete, so every terminal was last read after the period.
    // A period that ends now was last read in the half hour before, today.
    const i64 lastRead = until_ - static_cast<i64>(std::size(kTerms) - 1) * 180;
    const i64 collected = endsNow() ? std::max(lastRead, start_ + (days_ - 1) * kDay) : start_ + days_ * kDay + hms(6);
    for (std::size_t i = 0; i < std::size(kTerms); ++i) {
        const TermDef& t = kTerms[i];
        out.execute("insert into Mach_Info(Mach_Name,Mach_No,Mach_Type,Mach_XF_Type,Card_BuTie,XF_Dian_ID,Mach_Unit,"
                    "Del_YN,New_Date) values(?,?,?,?,?,?,?,0,?)",
                    {t.name, t.no, static_cast<i64>(t.machType), static_cast<i64>(t.xfType), static_cast<i64>(t.buTie),
                     static_cast<i64>(t.place), static_cast<i64>(t.owner),
                     timeText(std::min(collected + static_cast<i64>(i) * 180, until_))});
    }

    out.execute("insert into Sys_Para(Para_Name,SubParaName,P2,P5) values('Sys_Config',NULL,'1','1')");
    out.execute("insert into Sys_Para(Para_Name,SubParaName,P1,P2) values('JieSuan_Date',NULL,?,'1')",
                {timeText(start_)});
}

void Generator::writeCards(Writer& out) {
    for (std::size_t i = 0; i < people_.size(); ++i) {
        const auto& held = people_[i].cards;
        if (held.empty()) continue;
        // The twin cards are both in use; otherwise the person's last card is.
        for (std::size_t k = static_cast<int>(i) == twin_ ? 0 : held.size() - 1; k < held.size(); ++k) {
            const Card& c = cards_[static_cast<std::size_t>(held[k])];
            out.execute("insert into Card_Info(Pinfo_id,C_BianHao,Card_No,Card_No_Lng,Card_Number,Card_Model,C_GuaShi,"
                        "C_YuE_ID,C_YuCi_ID,Card_Type,FaKa_DT,C_LeiBie) values(?,?,?,?,?,0,0,0,0,0,?,?)",
                        {static_cast<i64>(i + 1), c.number, c.no, c.noLng, c.number, timeText(c.issued),
                         static_cast<i64>(kKinds[people_[i].kind].leiBie)});
            ++cardInfoRows_;
        }
    }
    std::stable_sort(log_.begin(), log_.end(), [](const LogRow& a, const LogRow& b) { return a.time < b.time; });
    bool returnSeen = false;
    for (const LogRow& r : log_) {
        const Card& c = cards_[static_cast<std::size_t>(r.card)];
        // Fees another program left empty: now and then those of other
        // operations, the fee of the first card return, and the issue fee of
        // a few cards issued before the period.
        std::array<bool, 3> nulls{};  // FaKa_GBF, Huan_GBF, Tui_GBF
        if (opt_.dirty) {
            const std::array<bool, 3> own = {r.op == 0, r.op == 0 || r.op == 3, r.op == 4};
            const bool others = dirt_.oneIn(4);
            for (std::size_t f = 0; f < 3; ++f) nulls[f] = others && !own[f];
            if (r.op == 4 && !returnSeen) nulls[2] = true;
            if (r.op == 0 && r.time < start_ && dirt_.oneIn(30)) nulls[0] = true;
            if (nulls[0] || nulls[1] || nulls[2]) ++dirtDone_.nullFeeRows;
        }
        if (r.op == 4) returnSeen = true;
        const auto fee = [&](std::size_t f, i64 v) { return nulls[f] ? Value() : Value(v); };
        out.execute("insert into Card_Log(Pinfo_id,Card_No,Card_Number,Date_Time,Op_Type,C_LeiBie,Operator_ID,FaKa_GBF,"
                    "Huan_GBF,Tui_GBF,Card_YuE,Card_YuCi,Huan_Number,ZY_JinE,ZY_Ci) "
                    "values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                    {static_cast<i64>(c.person + 1), c.no, c.number, timeText(r.time), static_cast<i64>(r.op),
                     static_cast<i64>(kKinds[people_[static_cast<std::size_t>(c.person)].kind].leiBie),
                     static_cast<i64>(r.operatorId), fee(0, r.faKa), fee(1, r.huan), fee(2, r.tui), r.yuE, r.yuCi,
                     r.newCard >= 0 ? Value(cards_[static_cast<std::size_t>(r.newCard)].number) : Value(), r.zyJinE,
                     r.zyCi});
    }
}

Facts Generator::facts() const {
    Facts f;
    f.seed = opt_.seed;
    f.dirty = opt_.dirty;
    f.firstDay = firstDay_;
    f.lastDay = firstDay_ + days_ - 1;
    f.until = until_;
    for (std::size_t i = 0; i < people_.size(); ++i) {
        const Person& p = people_[i];
        const KindDef& k = kKinds[p.kind];
        Facts::Employee e;
        e.deptId = p.dept + 1;
        e.deptNo = kDepts[static_cast<std::size_t>(p.dept)].no;
        e.leiBie = k.leiBie;
        e.left = p.left;
        if (p.left) e.leftAt = cards_[static_cast<std::size_t>(p.cards.back())].validUntil;
        e.monthlySubsidy = k.monthlySubsidy;
        e.timesPurse = k.timesPurse;
        e.subsidyTerminal = subsidyTerminalOf(static_cast<int>(i));
        f.employees.push_back(e);
    }
    f.subsidiesTaken = taken_;
    for (i64 d = 0; d < days_; ++d) {
        const Civil c = civilFromDays(firstDay_ + d);
        if (d == 0 || c.d == 1) f.months.push_back({c.y, c.m});
    }
    f.cardsIssued = static_cast<long>(cards_.size());
    auto terminal = [](std::size_t i) {
        return Terminal{static_cast<int>(i) + 1, kTerms[i].no, kTerms[i].place, kTerms[i].owner};
    };
    for (std::size_t i = 0; i < std::size(kTerms); ++i)
        if (kTerms[i].role == Role::Canteen) f.canteens.push_back(terminal(i));
    for (std::size_t i : kSubsidyTerms) f.subsidyTerminals.push_back(terminal(i));
    f.desk = terminal(kDeskTerm);
    f.deskOperator = kDeskOperator;
    return f;
}

// ------------------------------------------------------------------ the files

bool present(const fs::path& p) { return fs::symlink_status(p).type() != fs::file_type::not_found; }

fs::path newFilePath(const std::string& text, const char* what) {
    if (text.empty()) throw std::invalid_argument(std::string("no path given for the ") + what);
    const fs::path p = fs::absolute(fs::path(text)).lexically_normal();
    if (present(p)) throw std::runtime_error(std::string("the ") + what + " '" + p.string() +
                                             "' already exists; the generator writes new files only");
    if (!fs::is_directory(p.parent_path()))
        throw std::invalid_argument(std::string("the folder of the ") + what + " '" + p.parent_path().string() +
                                    "' does not exist");
    return p;
}

// Removes what a failed run created, once its connections are closed.
struct Leftovers {
    std::vector<fs::path> files;
    bool keep = false;
    ~Leftovers() {
        if (keep) return;
        std::error_code ec;
        for (const fs::path& f : files)
            for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(fs::path(f.string() + suffix), ec);
    }
};

const std::string kXfInsert =
    "insert into Record_XF(Mach_ID,Pinfo_id,Card_No_Lng,Shou_Kuan,C_LeiBie,XF_Dian_ID,XF_Type,XF_Meal,"
    "YuE_Old,YuE_Change,YuE_New,C_QuHao,Card_LiuShui,Mach_LiuShui,Date_Time,Card_No,YuCi_Change,Operator_id,"
    "XF_Unit,Ci_QuHao,Ci_LiuShui,YuCi_New,Err_Code,Rec_Time,DC_Date,Shui_Change,Is_ShuiKong)";
constexpr std::size_t kXfValues = 27;
// C_QuHao, Ci_QuHao, DC_Date, Shui_Change and Is_ShuiKong are the same on every row.
constexpr i64 kMoneyPurse = 1, kTimesPurse = 2;

// Writes Date_Time texts of times that mostly fall on the day of the one before.
class TimeTexts {
public:
    static constexpr std::size_t kLength = 19;
    std::string_view write(i64 t, char* out) {
        const i64 day = t / kDay, sec = t % kDay;
        if (day != day_) {
            day_ = day;
            const Civil c = civilFromDays(day);
            put(&date_[0], c.y, 4);
            put(&date_[5], c.m, 2);
            put(&date_[8], c.d, 2);
        }
        std::copy(date_, date_ + 10, out);
        out[10] = ' ';
        put(&out[11], sec / 3600, 2);
        out[13] = ':';
        put(&out[14], sec / 60 % 60, 2);
        out[16] = ':';
        put(&out[17], sec % 60, 2);
        return {out, kLength};
    }

private:
    i64 day_ = -1;
    char date_[11] = "yyyy-MM-dd";
};

// A new file: prepared statements with the values bound as they are. Rows go
// in groups, since each statement costs the engine about as much again as its
// rows (sqlite_sequence is updated once per statement, for one).
class FileWriter final : public Writer {
public:
    explicit FileWriter(SqliteFile& file) : file_(file), group_(file, insertText(kGroup)) {
        for (std::size_t k = 0; k < kGroup; ++k) bindConstants(group_, k);
    }
    void execute(const std::string& sql, const std::vector<Value>& params) override {
        SqliteFile::Statement st(file_, sql);
        for (std::size_t i = 0; i < params.size(); ++i) st.bind(static_cast<int>(i) + 1, params[i]);
        st.run();
    }
    void add(const XfRow& r) override {
        rows_[held_++] = r;
        if (held_ == kGroup) {
            run(group_);
            held_ = 0;
        }
    }
    void flush() override {
        if (held_ == 0) return;
        SqliteFile::Statement rest(file_, insertText(held_));
        for (std::size_t k = 0; k < held_; ++k) bindConstants(rest, k);
        run(rest);
        held_ = 0;
    }

private:
    static constexpr std::size_t kGroup = 64;

    static std::string insertText(std::size_t rows) {
        std::string sql = kXfInsert + " values";
        for (std::size_t k = 0; k < rows; ++k) {
            sql += k ? ",(" : "(";
            for (std::size_t v = 0; v < kXfValues; ++v) sql += v ? ",?" : "?";
            sql += ')';
        }
        return sql;
    }
    // Bindings stay from run to run: these are bound once.
    static void bindConstants(SqliteFile::Statement& st, std::size_t row) {
        const int b = static_cast<int>(row * kXfValues);
        st.bind(b + 12, kMoneyPurse);
        st.bind(b + 20, kTimesPurse);
        st.bindNull(b + 25);
        st.bind(b + 26, i64{0});
        st.bind(b + 27, i64{0});
    }
    // Binds the rows held, in their order, and inserts them.
    void run(SqliteFile::Statement& st) {
        for (std::size_t k = 0; k < held_; ++k) {
            const XfRow& r = rows_[k];
            const int b = static_cast<int>(k * kXfValues);
            const std::string_view time = clock_.write(r.time, times_[k]);
            st.bind(b + 1, i64{r.machId});
            st.bind(b + 2, i64{r.person});
            st.bind(b + 3, r.cardNoLng);
            st.bind(b + 4, std::string_view(*r.cashier));
            st.bind(b + 5, i64{r.leiBie});
            st.bind(b + 6, i64{r.place});
            st.bind(b + 7, i64{r.xfType});
            st.bind(b + 8, i64{r.meal});
            st.bind(b + 9, r.balanceOld);
            st.bind(b + 10, r.change);
            st.bind(b + 11, r.balanceNew);
            st.bind(b + 13, r.cardSerial);
            st.bind(b + 14, r.machSerial);
            st.bind(b + 15, time);
            st.bind(b + 16, std::string_view(*r.cardNo));
            st.bind(b + 17, r.timesChange);
            st.bind(b + 18, i64{r.operatorId});
            st.bind(b + 19, i64{r.owner});
            st.bind(b + 21, r.timesSerial);
            st.bind(b + 22, r.timesNew);
            st.bind(b + 23, i64{r.errCode});
            st.bind(b + 24, time);
        }
        st.run();
    }

    SqliteFile& file_;
    SqliteFile::Statement group_;
    std::array<XfRow, kGroup> rows_{};
    char times_[kGroup][TimeTexts::kLength] = {};  // bound in place, so one per row of the group
    std::size_t held_ = 0;
    TimeTexts clock_;
};

// Rows go to a server in batches of a column each: an array per column is
// read far faster than as many parameters, and one statement per row would
// spend the time on the way there and back.
class ServerWriter final : public Writer {
public:
    explicit ServerWriter(db::Connection& con) : con_(con) {}
    void execute(const std::string& sql, const std::vector<Value>& params) override { con_.execute(sql, params); }
    void add(const XfRow& r) override {
        const i64 numbers[] = {r.machId,      r.person,      r.cardNoLng, r.leiBie,     r.place,      r.xfType,
                               r.meal,        r.balanceOld,  r.change,    r.balanceNew, r.cardSerial, r.machSerial,
                               r.timesChange, r.operatorId, r.owner,     r.timesSerial, r.timesNew,  r.errCode};
        static_assert(std::size(numbers) == kNumbers);
        char time[TimeTexts::kLength];
        const std::string_view texts[] = {*r.cashier, clock_.write(r.time, time), *r.cardNo};
        static_assert(std::size(texts) == kTexts);
        const char* sep = held_ ? "," : "{";
        for (std::size_t c = 0; c < kNumbers; ++c) {
            std::string& a = columns_[c];
            a += sep;
            char digits[24];
            a.append(digits, std::to_chars(digits, digits + sizeof digits, numbers[c]).ptr);
        }
        for (std::size_t c = 0; c < kTexts; ++c) {
            std::string& a = columns_[kNumbers + c];
            a += sep;
            a += '"';
            for (char ch : texts[c]) {
                if (ch == '"' || ch == '\\') a += '\\';
                a += ch;
            }
            a += '"';
        }
        if (++held_ == kBatchRows) flush();
    }
    void flush() override {
        if (held_ == 0) return;
        std::vector<Value> arrays;
        for (std::string& a : columns_) {
            arrays.emplace_back(a + "}");
            a.clear();
        }
        held_ = 0;
        con_.execute(insert_, arrays);
    }

private:
    static constexpr std::size_t kBatchRows = 10000, kNumbers = 18, kTexts = 3;
    // One array per column, in the order of `numbers` and `texts` above; the
    // select list in the order of kXfInsert.
    static std::string insertText() {
        std::string arrays;
        for (std::size_t c = 0; c < kNumbers + kTexts; ++c)
            arrays += std::string(c ? ", " : "") + "cast(? as " + (c < kNumbers ? "bigint" : "text") + " array)";
        return kXfInsert + " select Mach_ID, Pinfo_id, Card_No_Lng, Shou_Kuan, C_LeiBie, XF_Dian_ID, XF_Type, XF_Meal, " +
               "YuE_Old, YuE_Change, YuE_New, " + std::to_string(kMoneyPurse) + ", Card_LiuShui, Mach_LiuShui, " +
               "Date_Time, Card_No, YuCi_Change, Operator_id, XF_Unit, " + std::to_string(kTimesPurse) +
               ", Ci_LiuShui, YuCi_New, Err_Code, Date_Time, NULL, 0, 0 from unnest(" + arrays +
               ") as r(Mach_ID, Pinfo_id, Card_No_Lng, C_LeiBie, XF_Dian_ID, XF_Type, XF_Meal, YuE_Old, YuE_Change, "
               "YuE_New, Card_LiuShui, Mach_LiuShui, YuCi_Change, Operator_id, XF_Unit, Ci_LiuShui, YuCi_New, Err_Code, "
               "Shou_Kuan, Date_Time, Card_No)";
    }

    db::Connection& con_;
    std::array<std::string, kNumbers + kTexts> columns_;
    std::size_t held_ = 0;
    TimeTexts clock_;
    const std::string insert_ = insertText();
};

void count(const Generator& gen, const Options& o, Summary& s) {
    s.departments = static_cast<long>(std::size(kDepts)) + (o.dirty ? 1 : 0);
    s.positions = static_cast<long>(std::size(kPositions));
    s.employees = gen.employees();
    s.employeesLeft = gen.employeesLeft();
    s.cardKinds = static_cast<long>(std::size(kKinds));
    s.cards = gen.cardsInUse();
    s.cardsIssued = gen.cardsIssued();
    s.cardLogRows = gen.cardLogRows();
    s.terminals = static_cast<long>(std::size(kTerms));
    s.places = static_cast<long>(std::size(kPlaces));
    s.owners = static_cast<long>(std::size(kOwners));
    s.cashiers = static_cast<long>(std::size(kCashierNames));
    s.operators = static_cast<long>(std::size(kUsers));
    s.transactions = gen.transactions();
    s.dirt = gen.dirt();
}

// Writes the business data into a new file that has no tables yet, and
// counts what it wrote.
void fillFile(Generator& gen, SqliteFile& file, const Options& o, Summary& s) {
    // Nobody opens the file before it is finished, and a failed run deletes it:
    // no rollback journal, no waiting for the disk. Pages are written in order,
    // so a small cache does; it also sets the size of the runs in which index
    // keys are sorted, and small runs keep the worker threads busy.
    file.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-8192; PRAGMA threads=4");
    file.exec(schema::Business);
    // Indexes built once over the finished table cost far less than kept up
    // row by row; the same statements put them back as the schema has them.
    std::vector<std::string> indexes;
    {
        SqliteFile::Statement q(file, "select name, sql from sqlite_master where type='index' and "
                                      "tbl_name='Record_XF' and sql is not null order by name");
        std::vector<std::string> names;
        while (q.step()) {
            names.push_back(q.text(0));
            indexes.push_back(q.text(1));
        }
        for (const std::string& name : names) file.exec("DROP INDEX " + name);
    }
    file.exec("BEGIN");
    FileWriter out(file);
    gen.writeReference(out);
    const auto started = std::chrono::steady_clock::now();
    gen.writeTransactions(out);
    for (const std::string& ddl : indexes) file.exec(ddl);
    gen.writeCards(out);
    file.exec("COMMIT");
    s.transactionSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (o.everyWindow) {
        file.exec("BEGIN");
        s.idHolders = writeWindowData(gen.facts(), out);
        file.exec("COMMIT");
    }
    // The installation's programs share the file while they work.
    file.exec("PRAGMA journal_mode=WAL");
    count(gen, o, s);
}

// Writes the business data into a server database that has no tables yet,
// in one transaction, and counts what it wrote.
void fillServer(Generator& gen, db::Connection& con, const Options& o, Summary& s) {
    // Tables and rows in one transaction: a failure leaves the database as it was.
    con.beginTrans();
    // Index keys sorted in memory rather than in runs on disk; for this transaction only.
    con.executeScript("SET LOCAL maintenance_work_mem = '256MB'");
    con.executeScript(schema::BusinessServer);
    ServerWriter out(con);
    gen.writeReference(out);
    const auto started = std::chrono::steady_clock::now();
    // Indexes built once over the finished table cost far less than kept up row by row.
    std::vector<std::string> indexes;
    for (auto rs = con.openRecordset("select indexname, indexdef from pg_indexes where "
                                     "schemaname=current_schema() and tablename='record_xf' and "
                                     "indexname not like '%_pkey' order by indexname");
         !rs->eof(); rs->moveNext()) {
        con.executeScript("DROP INDEX " + rs->field(0).toString());
        indexes.push_back(rs->field(1).toString());
    }
    gen.writeTransactions(out);
    for (const std::string& ddl : indexes) con.executeScript(ddl);
    gen.writeCards(out);
    // The rows of the other windows go in the same transaction but not into the transactions' time.
    const auto windowsStarted = std::chrono::steady_clock::now();
    if (o.everyWindow) s.idHolders = writeWindowData(gen.facts(), out);
    const auto windowsTime = std::chrono::steady_clock::now() - windowsStarted;
    con.commitTrans();
    s.transactionSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started - windowsTime).count();
    count(gen, o, s);
}

// The same server text naming another database on that server.
std::string withCatalog(const std::string& text, const std::string& catalog) {
    static const std::regex key("(initial catalog *= *)[^;]*", std::regex::icase);
    return std::regex_replace(text, key, "$1" + catalog, std::regex_constants::format_first_only);
}

std::string quotedName(const std::string& name) {
    std::string out = "\"";
    for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

// Building a database is no window's work: its statements have no time-out,
// however long the indexes over ten million rows take.
void openToBuild(db::Connection& con, const std::string& text) {
    con.setCommandTimeout(0);
    con.open(text);
}

Summary generateOnServer(const Options& o, Generator& gen, const fs::path& config, Summary s) {
    const db::ConnectionString cs(o.server);
    if (cs.kind() != db::ConnectionString::Kind::Server)
        throw std::invalid_argument("the server text must start with Provider=SQLOLEDB.1, not '" + o.server + "'");
    const std::string catalog = cs.get("initial catalog");
    if (catalog.empty()) throw std::invalid_argument("the server text names no Initial Catalog");
    s.businessPath = catalog + " on server " + cs.get("data source");

    bool created = false;
    try {
        db::Connection con;
        try {
            openToBuild(con, o.server);
        } catch (const db::DbError& e) {
            if (e.number() != 3024) throw;  // only a missing database is made here
            db::Connection admin;
            openToBuild(admin, withCatalog(o.server, "postgres"));
            admin.executeScript("CREATE DATABASE " + quotedName(catalog));
            created = true;
            openToBuild(con, o.server);
        }
        if (con.openRecordset("select count(*) from information_schema.tables where table_schema=current_schema() "
                              "and table_name='record_xf'")->field(0).toInt64() > 0)
            throw std::runtime_error("the database " + s.businessPath +
                                     " already holds business tables; the generator writes new databases only");
        fillServer(gen, con, o, s);
        // The server plans by its statistics; a freshly filled database has
        // none until autovacuum gets to it, minutes later.
        con.executeScript("ANALYZE");
    } catch (...) {
        if (created) {
            try {
                db::Connection admin;
                openToBuild(admin, withCatalog(o.server, "postgres"));
                admin.executeScript("DROP DATABASE IF EXISTS " + quotedName(catalog) + " WITH (FORCE)");
            } catch (...) {
            }
        }
        throw;
    }

    if (!config.empty()) {
        Leftovers leftovers;
        db::Connection::createFileDatabase(s.configPath);
        leftovers.files.push_back(config);
        db::Connection con;
        con.open(db::Connection::fileConnectionString(s.configPath));
        con.executeScript(schema::Config);
        const bool integrated = !cs.get("integrated security").empty();
        con.execute("insert into DB_info(DB_Name,Provider,DataSource,FileName,UserID,PassWord_1,Persist,InitialCatalog) "
                    "values('Server','SQL',?,'',?,?,?,?)",
                    {cs.get("data source"), integrated ? "" : cs.get("user id"), integrated ? "" : cs.get("password"),
                     Value(integrated ? 0 : 1), catalog});
        leftovers.keep = true;
    }
    return s;
}


}  // namespace

Summary generate(const Options& given) {
    Options o = given;
    const std::string now = o.now.empty() ? platform::localClockText() : o.now;
    const i64 nowTime = parseTime(now, "the moment of the run");
    if (o.lastDay.empty()) o.lastDay = now.substr(0, 10);  // today
    const i64 last = parseDay(o.lastDay, "the last day");
    if (o.firstDay.empty()) {
        const Civil c = civilFromDays(last);
        const int months = c.y * 12 + (c.m - 1) - 11;
        o.firstDay = dayText(daysFromCivil(months / 12, months % 12 + 1, 1));
    }
    const i64 first = parseDay(o.firstDay, "the first day");
    if (last < first) throw std::invalid_argument("the period ends (" + o.lastDay + ") before it starts (" + o.firstDay + ")");
    if (last - first >= 3660) throw std::invalid_argument("the period may be ten years at most");
    if (o.transactions < 0 || o.transactions > kMaxTransactions)
        throw std::invalid_argument("the number of transactions must lie between 0 and " +
                                    std::to_string(kMaxTransactions));
    if (!o.server.empty() && !o.businessPath.empty())
        throw std::invalid_argument("a business database goes either to a file or to a server, not both");

    fs::path business;
    if (o.server.empty()) {
        business = newFilePath(o.businessPath, "business database");
        const std::string fileName = business.filename().string();
        // The module opens <DataSource>/<FileName>.mdb, so the name must end in exactly that.
        if (fileName.size() <= 4 || !fileName.ends_with(".mdb"))
            throw std::invalid_argument("the business database must be named <name>.mdb, not '" + fileName + "'");
    }
    fs::path config;
    if (!o.configPath.empty()) {
        config = newFilePath(o.configPath, "configuration database");
        if (config == business)
            throw std::invalid_argument("the configuration and business databases must be different files");
    }

    Summary s;
    s.businessPath = business.string();
    s.configPath = config.string();
    s.firstDay = o.firstDay;
    s.lastDay = o.lastDay;

    // Nothing is written later than the moment of the run: a period that
    // ends today ends then.
    const i64 until = last == nowTime / kDay ? nowTime : (last + 1) * kDay - 1;
    Generator gen(o, first, last, until);
    gen.plan();
    if (!o.server.empty()) return generateOnServer(o, gen, config, s);

    Leftovers leftovers;
    {
        SqliteFile file(s.businessPath);
        leftovers.files.push_back(business);
        fillFile(gen, file, o, s);
        file.flush();
    }

    if (!config.empty()) {
        db::Connection::createFileDatabase(s.configPath);
        leftovers.files.push_back(config);
        db::Connection con;
        con.open(db::Connection::fileConnectionString(s.configPath));
        con.executeScript(schema::Config);
        const std::string fileName = business.filename().string();
        con.execute("insert into DB_info(DB_Name,Provider,DataSource,FileName,UserID,PassWord_1,Persist,InitialCatalog) "
                    "values('Server','Access',?,?,'sa','quesmo527',0,'')",
                    {business.parent_path().string(), fileName.substr(0, fileName.size() - 4)});
    }
    leftovers.keep = true;
    return s;
}

}  // namespace tolvenk::demo

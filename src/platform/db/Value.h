#pragma once
#include <cstdint>
#include <string>
#include <variant>

namespace tolvenk::db {

// One field value as the engines hand it over: NULL, whole number, real or text.
class Value {
public:
    Value() = default;
    Value(std::int64_t v) : v_(v) {}
    Value(int v) : v_(static_cast<std::int64_t>(v)) {}
    Value(double v) : v_(v) {}
    Value(std::string v) : v_(std::move(v)) {}
    Value(const char* v) : v_(std::string(v)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool isInteger() const { return std::holds_alternative<std::int64_t>(v_); }
    bool isReal() const { return std::holds_alternative<double>(v_); }
    bool isText() const { return std::holds_alternative<std::string>(v_); }
    bool isNumber() const { return isInteger() || isReal(); }

    std::int64_t asInteger() const { return std::get<std::int64_t>(v_); }
    double asReal() const { return std::get<double>(v_); }
    const std::string& asText() const { return std::get<std::string>(v_); }

    // The default text form: NULL gives "", numbers their shortest decimal form.
    std::string toString() const;
    // Numeric reading of the value; text is read by its leading number.
    double toDouble() const;
    std::int64_t toInt64() const;

    bool operator==(const Value& o) const { return v_ == o.v_; }

private:
    std::variant<std::monostate, std::int64_t, double, std::string> v_;
};

}  // namespace tolvenk::db

#pragma once
// The module as a second office runs it: in a peer process, the globals a
// menu call sets for the database behind `cs` (the business database on
// Conn_Main and strCN, DB_Type by its engine, Simplified Chinese texts) and
// test services answering every box with its default.
#include <memory>
#include <string>

#include "support/TestServices.h"

namespace tolvenk::test {

class PeerModule {
public:
    explicit PeerModule(const std::string& cs);
    ~PeerModule();
    PeerModule(const PeerModule&) = delete;
    PeerModule& operator=(const PeerModule&) = delete;
    TestServices& services() { return **scope_; }

private:
    std::unique_ptr<class ServicesScope> scope_;
};

}  // namespace tolvenk::test

// A transaction of a workspace that rolls back unless it is committed: the one way to keep
// several writes together.
//
//     store::Transaction change;  // the default workspace
//     ... writes; any exception leaves through the destructor, which rolls them back ...
//     change.commit();
//
// Transactions nest (the inner ones are savepoints). Each one commits or rolls back only its
// own level: committing while a transaction begun inside it is still open is refused
// (InvalidOperation) and changes nothing, and the destructor first rolls back whatever was
// left open inside it. When the engine has ended the transaction after an error, or the
// database was closed, commit() says so and the destructor has nothing left to do.
#pragma once

#include "store/Store.h"

namespace store {

class Transaction {
public:
    explicit Transaction(Workspace& workspace = Workspace::defaultWorkspace());
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    // Rolls back now (and what is open inside it); nothing when it has already ended.
    void rollback();
    // Begun, neither committed nor rolled back, and not ended by the engine.
    bool isOpen() const;

private:
    Workspace* workspace_;
    int level_;  // the workspace's depth with this transaction open
    bool ended_ = false;
};

}  // namespace store

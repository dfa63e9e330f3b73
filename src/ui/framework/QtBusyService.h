#pragma once

// The wait cursor: an application-wide override cursor, nestable. Each EndBusy undoes one
// BeginBusy; unmatched ends are ignored so that they never remove another part's cursor.

#include "support/Services.h"

class CQtBusyService : public CBusyService {
public:
    CQtBusyService() = default;
    ~CQtBusyService() override;
    CQtBusyService(const CQtBusyService&) = delete;
    CQtBusyService& operator=(const CQtBusyService&) = delete;

    void BeginBusy() override;
    void EndBusy() override;

    int Depth() const { return m_depth; }

private:
    int m_depth = 0;
};

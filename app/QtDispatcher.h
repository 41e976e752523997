#pragma once
// The dispatcher of the desktop application: a notification becomes a queued call on a
// QObject of the interface thread, so it runs there, from the event loop, in posting order.
#include "present/Dispatcher.h"

#include <QObject>

class CQtDispatcher : public IDispatcher
{
  public:
    // The context lives on the interface thread; notifications posted after it is gone are
    // dropped by Qt.
    explicit CQtDispatcher(QObject* context);

    void Post(std::function<void()> notification) override;

  private:
    QObject* m_pContext;
};

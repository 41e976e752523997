#include "app/QtDispatcher.h"

#include <QMetaObject>

CQtDispatcher::CQtDispatcher(QObject* context) : m_pContext(context)
{
}

void CQtDispatcher::Post(std::function<void()> notification)
{
    QMetaObject::invokeMethod(m_pContext, std::move(notification), Qt::QueuedConnection);
}

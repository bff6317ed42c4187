// One running copy per user: the first start listens on a per-user local socket; a later start
// asks it to come to the front and ends.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>

namespace kelv::app {

class SingleInstance : public QObject {
  public:
    explicit SingleInstance(QString name = DefaultName());
    // True when another copy answered and was asked to activate itself.
    bool AskRunningCopy();
    // Becomes the running copy; `activate` runs whenever a later start asks.
    bool Listen(std::function<void()> activate);
    static QString DefaultName();

  private:
    QString name_;
    QLocalServer server_;
    std::function<void()> activate_;
};

}  // namespace kelv::app

#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace tama05 {

// One running game per user: the first game listens on a local socket of a per-user name; a
// later start hands its puzzle argument over to it and ends.
class SingleInstance final : public QObject {
    Q_OBJECT
  public:
    // The socket name for this user; another settings file than the usual one is another game.
    static QString NameFor(const QString& settingsFile);

    explicit SingleInstance(QString name, QObject* parent = nullptr);

    // Hands the puzzle path (absolute; empty: only show the game) to a running game. True when
    // a running game has taken it.
    bool HandOver(const QString& puzzlePath);
    // Becomes the running game: later starts reach puzzleHandedOver. False when the socket
    // cannot be made (the game then runs alone).
    bool Listen();

  signals:
    // A later start handed over this puzzle path (empty: none).
    void puzzleHandedOver(const QString& path);

  private:
    void Accept();

    QString m_name;
    QLocalServer m_server;
};

}  // namespace tama05

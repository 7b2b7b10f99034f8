#pragma once
// The server settings that the FTP browser and the upload button both publish.
#include <QString>

// Publishes the settings of TFtpServerSettings in a class derived from it; moc expands
// the macro, so the two classes (with different framework bases) declare them once.
// None has a declared default: all are always written to the form file.
#define QV_FTP_SERVER_PROPERTIES                                                                                               \
    Q_PROPERTY(QString HostName READ HostName WRITE SetHostName)                                                               \
    Q_PROPERTY(QString LoginName READ LoginName WRITE SetLoginName)                                                            \
    Q_PROPERTY(QString Password READ Password WRITE SetPassword)                                                               \
    Q_PROPERTY(int Port READ Port WRITE SetPort)                                                                               \
    Q_PROPERTY(bool Passive READ Passive WRITE SetPassive)                                                                     \
    Q_PROPERTY(QString RemoteDir READ RemoteDir WRITE SetRemoteDir)

namespace Qvftpshell {

// The host, login, port, mode and start folder of an FTP server; a base of the classes
// that publish them with QV_FTP_SERVER_PROPERTIES.
class TFtpServerSettings {
public:
    // The server's name or address; "localhost" by default.
    QString HostName() const { return FHostName; }
    void SetHostName(const QString& Value) { FHostName = Value; }
    // The login name; "anonymous" by default.
    QString LoginName() const { return FLoginName; }
    void SetLoginName(const QString& Value) { FLoginName = Value; }
    // The login password; empty by default.
    QString Password() const { return FPassword; }
    void SetPassword(const QString& Value) { FPassword = Value; }
    // The server's port; 21 by default (only the low 16 bits are used, 0 means 21).
    int Port() const { return FPort; }
    void SetPort(int Value) { FPort = Value; }
    // Passive mode (the client opens the data connections); on by default.
    bool Passive() const { return FPassive; }
    void SetPassive(bool Value) { FPassive = Value; }
    // The folder to change to after connecting; empty (the login folder) by default.
    QString RemoteDir() const { return FRemoteDir; }
    void SetRemoteDir(const QString& Value) { FRemoteDir = Value; }

protected:
    TFtpServerSettings() = default;
    ~TFtpServerSettings() = default;

private:
    // The loopback host of this machine, by its name.
    QString FHostName = QStringLiteral("localhost");
    QString FLoginName = QStringLiteral("anonymous");
    QString FPassword;
    int FPort = 21;
    bool FPassive = true;
    QString FRemoteDir;
};

} // namespace Qvftpshell

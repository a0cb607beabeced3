#include "ui/InstanceChannel.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <sys/stat.h>
#include <unistd.h>

namespace UserInterface {

namespace {

constexpr int kConnectTimeoutMs = 1000;
// A copy busy in a long operation answers late; a start-up should not hang on it for long.
constexpr int kAnswerTimeoutMs = 3000;
const QString kNamePrefix = QStringLiteral("FD-MW-");

}  // namespace

AInstanceChannel::AInstanceChannel(std::string folder, std::string ownName, QObject* parent)
    : QObject(parent),
      folder_(std::move(folder)),
      ownName_("FD-MW-" + (ownName.empty() ? std::to_string(::getpid()) : ownName))
{
    if (!folder_.empty()) {
        QDir().mkpath(QString::fromStdString(folder_));
        ::chmod(folder_.c_str(), 0700);
    }
    // Only a folder of our own that nobody else may write: in a folder someone else made, a
    // planted socket could claim every file and keep this copy from ever starting.
    struct stat status {};
    if (folder_.empty() || ::lstat(folder_.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::getuid() || (status.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        folder_.clear();
}

AInstanceChannel::~AInstanceChannel()
{
    if (server_)
        server_->close();
}

std::string AInstanceChannel::DefaultFolder(const char* xdgRuntimeDir, const std::string& tempFolder, unsigned userId)
{
    if (xdgRuntimeDir && xdgRuntimeDir[0] == '/')
        return std::string(xdgRuntimeDir) + "/Fendral";
    return tempFolder + "/Fendral-" + std::to_string(userId);
}

bool AInstanceChannel::Listen(AHandlers handlers)
{
    handlers_ = std::move(handlers);
    if (folder_.empty())
        return false;  // this copy runs alone
    if (server_)
        return server_->isListening();
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    const QString path = QString::fromStdString(folder_ + "/" + ownName_);
    QLocalServer::removeServer(path);  // left by an earlier process with our id
    if (!server_->listen(path))
        return false;
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Answer(socket); });
            if (socket->bytesAvailable() > 0)
                Answer(socket);
        }
    });
    return true;
}

bool AInstanceChannel::IsListening() const
{
    return server_ && server_->isListening();
}

void AInstanceChannel::Answer(QLocalSocket* socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > InstanceProtocol::kMaxRequest)
            socket->abort();
        return;
    }
    QByteArray line = socket->readLine(InstanceProtocol::kMaxRequest);
    if (line.endsWith('\n'))
        line.chop(1);
    const std::string answer = Respond(line.toStdString());
    socket->write((answer + "\n").c_str());
    socket->flush();
    socket->disconnectFromServer();
}

std::string AInstanceChannel::Respond(const std::string& request)
{
    using namespace InstanceProtocol;
    const std::string whoHasFile = kWhoHasFile;
    if (request.compare(0, whoHasFile.size(), whoHasFile) == 0) {
        const bool has = handlers_.hasFileOpen && handlers_.hasFileOpen(request.substr(whoHasFile.size()));
        return has ? kYes : kNo;
    }
    if (request == kReloadSettings) {
        if (handlers_.reloadSettings)
            handlers_.reloadSettings();
        return kYes;
    }
    if (request == kComeToFront) {
        if (handlers_.comeToFront)
            handlers_.comeToFront();
        return kYes;
    }
    return kNo;
}

std::vector<std::string> AInstanceChannel::OtherCopies() const
{
    std::vector<std::string> copies;
    if (folder_.empty())
        return copies;
    const QDir dir(QString::fromStdString(folder_));
    for (const QString& name : dir.entryList({kNamePrefix + "*"}, QDir::System | QDir::Files, QDir::Name))
        if (name.toStdString() != ownName_)
            copies.push_back(name.toStdString());
    return copies;
}

std::optional<std::string> AInstanceChannel::Ask(const std::string& copy, const std::string& request)
{
    if (folder_.empty() || copy.find('/') != std::string::npos)
        return std::nullopt;
    QLocalSocket socket;
    const std::string path = folder_ + "/" + copy;
    socket.connectToServer(QString::fromStdString(path));
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        // Nobody listens there any more: a copy that ended without tidying up.
        const auto error = socket.error();
        if (error == QLocalSocket::ConnectionRefusedError || error == QLocalSocket::ServerNotFoundError)
            ::unlink(path.c_str());
        return std::nullopt;
    }
    socket.write((request + "\n").c_str());
    if (!socket.waitForBytesWritten(kAnswerTimeoutMs))
        return std::nullopt;
    QByteArray answer;
    while (!answer.contains('\n') && answer.size() < 64) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(kAnswerTimeoutMs))
            break;
        answer += socket.readAll();
    }
    const qsizetype end = answer.indexOf('\n');
    if (end < 0)
        return std::nullopt;
    return answer.left(end).toStdString();
}

std::optional<std::string> AInstanceChannel::FindCopyWithFile(const std::string& path)
{
    for (const std::string& copy : OtherCopies())
        if (Ask(copy, InstanceProtocol::kWhoHasFile + path) == std::optional<std::string>(InstanceProtocol::kYes))
            return copy;
    return std::nullopt;
}

bool AInstanceChannel::BringToFront(const std::string& copy)
{
    return Ask(copy, InstanceProtocol::kComeToFront).has_value();
}

void AInstanceChannel::BroadcastReloadSettings()
{
    for (const std::string& copy : OtherCopies())
        Ask(copy, InstanceProtocol::kReloadSettings);
}

}  // namespace UserInterface

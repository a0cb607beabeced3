// Running copies of the program find each other through local sockets in one folder of the
// user's: each copy listens on "FD-MW-<process id>" there. A starting copy asks each of the
// others in turn whether it has a data file open; the first that has it answers yes, and only
// it. The same channel carries "reload the settings" to every copy and "come to the front".
#pragma once
#include <QObject>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLocalServer;
class QLocalSocket;

namespace UserInterface {

class AInstanceChannel : public QObject {
    Q_OBJECT
public:
    struct AHandlers {
        std::function<bool(const std::string& path)> hasFileOpen;  // "FD-OF"
        std::function<void()> reloadSettings;                      // "FD-RS"
        std::function<void()> comeToFront;                         // WM_USER+107
    };

    // `folder` is created (for the user alone) when missing; a folder that is not the user's
    // alone leaves the copy running alone. A copy's name is its process id unless one is
    // given (copies within one process, as in tests).
    explicit AInstanceChannel(std::string folder, std::string ownName = {}, QObject* parent = nullptr);
    ~AInstanceChannel() override;

    // $XDG_RUNTIME_DIR/Fendral, or a folder of the user's own in the temporary folder.
    static std::string DefaultFolder(const char* xdgRuntimeDir, const std::string& tempFolder, unsigned userId);

    // Starts answering the other copies.
    bool Listen(AHandlers handlers);
    bool IsListening() const;
    // False when the folder could not be used: no other copy is seen or answered.
    bool IsUsable() const { return !folder_.empty(); }
    const std::string& OwnName() const { return ownName_; }

    // Asks every other running copy in turn; the name of the first that has `path` open.
    std::optional<std::string> FindCopyWithFile(const std::string& path);
    bool BringToFront(const std::string& copy);
    // Tells every other running copy to reload its settings.
    void BroadcastReloadSettings();

    // The names of the other copies listening in the folder.
    std::vector<std::string> OtherCopies() const;

private:
    std::optional<std::string> Ask(const std::string& copy, const std::string& request);
    void Answer(QLocalSocket* socket);
    std::string Respond(const std::string& request);

    std::string folder_;
    std::string ownName_;
    QLocalServer* server_ = nullptr;
    AHandlers handlers_;
};

// The requests and answers, one line each.
namespace InstanceProtocol {
constexpr const char* kWhoHasFile = "FD-OF ";
constexpr const char* kReloadSettings = "FD-RS";
constexpr const char* kComeToFront = "FD-FRONT";
constexpr const char* kYes = "1";
constexpr const char* kNo = "0";
// A request longer than this is no request of ours.
constexpr int kMaxRequest = 16 * 1024;
}  // namespace InstanceProtocol

}  // namespace UserInterface

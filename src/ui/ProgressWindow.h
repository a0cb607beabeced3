// The window that says which file is being read or written while it takes long enough to be
// noticed, with the engine's progress in percent.
#pragma once
#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace Database::Engine {
class AProgress;
}

namespace UserInterface {

class AProgressWindow : public QWidget {
    Q_OBJECT
public:
    // Listens to `progress` until destroyed; shows itself once `delayMs` have passed.
    AProgressWindow(QWidget* owner, const QString& text, Database::Engine::AProgress& progress, int delayMs = 300);
    ~AProgressWindow() override;

    QString Text() const;
    int Percent() const;

private:
    void Update(int percent);

    Database::Engine::AProgress& progress_;
    QLabel* text_;
    QProgressBar* bar_;
    QElapsedTimer elapsed_;
    int delayMs_;
};

}  // namespace UserInterface

#pragma once

#include "app/provision/ProvisionWorker.h"

#include <QMetaType>
#include <QObject>
#include <QString>
#include <vector>

Q_DECLARE_METATYPE(tavisto::provision::PortResult)
Q_DECLARE_METATYPE(std::vector<tavisto::provision::PortResult>)

namespace tavisto::ui {

// Passes what the provisioning workers tell, on their own threads, on as signals; a
// receiver on the window's thread gets them queued, each port's in order, and the
// workers never wait for the window.
class TProvisionRelay final : public QObject, public provision::ProvisionEvents {
    Q_OBJECT
public:
    explicit TProvisionRelay(QObject* parent = nullptr);

    void stepStarted(const std::string& port, const std::string& step) override;
    void identified(const std::string& port, const provision::PortIdentity& identity) override;
    void progress(const std::string& port, const provision::TransferProgress& progress) override;
    void note(const std::string& port, const std::string& text) override;
    void stepEnded(const std::string& port, const provision::StepResult& step) override;
    void portEnded(const std::string& port, const provision::PortResult& result) override;

    // The run is over: every port's result, in the order of the ports.
    void runEnded(const std::vector<provision::PortResult>& results);

signals:
    void stepStartedOn(const QString& port, const QString& step);
    void identifiedOn(const QString& port, const QString& model, const QString& firmware);
    void progressOn(const QString& port, int percent, const QString& rate, const QString& left);
    void noteOn(const QString& port, const QString& text);
    void portEndedOn(const QString& port, const tavisto::provision::PortResult& result);
    void runEndedWith(const std::vector<tavisto::provision::PortResult>& results);
};

} // namespace tavisto::ui

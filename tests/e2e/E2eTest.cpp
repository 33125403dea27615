#include "E2eTest.h"

#include "PortChoice.h"
#include "PortLinkSetup.h"

E2eTest::E2eTest()
{
    ConfigFilePath = devices / "zorvalit.cfg";
    ResetPortLink(&serialPorts_);
}

E2eTest::~E2eTest()
{
    if (form_) form_->close();
    label_.reset();
    form_.reset();
    ClosePort();
    UseSerialDevice(nullptr);
    ConfigFilePath = ConfigFileName;
}

CounterLine& E2eTest::StartCounter(const std::string& port, std::vector<std::string> options)
{
    options.insert(options.begin(), {"--fast", "--rate", "10", "--fault", "silence:500@1"});
    counters_.push_back(std::make_unique<CounterLine>(devices, port, options));
    return *counters_.back();
}

TMyForm& E2eTest::Form()
{
    if (!form_) {
        form_ = std::make_unique<TMyForm>();
        label_ = std::make_unique<LabelHistory>(form_->ZorvaLabel);
        form_->show();
    }
    return *form_;
}

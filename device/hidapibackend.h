// The HID backend over hidapi: the only code of the program that calls the HID library.
#pragma once

#include "device/hidbackend.h"

namespace mc {

class HidapiBackend final : public HidBackend
{
public:
    HidapiBackend() = default;
    HidapiBackend(const HidapiBackend &) = delete;
    HidapiBackend &operator=(const HidapiBackend &) = delete;

    int init() override;
    void exit() override;
    QVector<HidDeviceInfo> enumerate() override;
    HidHandle open(const QByteArray &path) override;
    void close(HidHandle handle) override;
    int write(HidHandle handle, const uint8_t *data, size_t length) override;
    int readTimeout(HidHandle handle, uint8_t *data, size_t length, int milliseconds) override;
    QString lastOpenError() const override { return m_openError; }

private:
    QString m_openError;
};

} // namespace mc

#pragma once

// TComm: one serial port, its reader and writer threads, and the events they raise.
//
// Threading rules
// - TComm is a QObject of the UI thread. Every member function, property and event handler is
//   used on that thread only.
// - While the port is open, two threads run on it: TReadThread (reception, line events) and
//   TWriteThread (sending). They never call TComm or any handler. They post TCommMessage events
//   to the TComm object, so every On... handler runs on the UI thread inside its event loop;
//   a buffer travels inside its event and is freed with it.
// - The threads share with the UI thread only: the port (posixcomm::CommFile, thread-safe),
//   the stop event (set by the UI thread only), the writer's queue (locked) and FSendDataEmpty
//   (atomic; a hint of whether anything is still waiting to be sent).
// - StopComm sets the stop event, joins both threads and only then closes the port: closing a
//   descriptor another thread is polling can stall. Destroying a TComm stops the port first.
// - Handlers may run a nested event loop (receive, timer and click events then run inside
//   them) and may call StopComm or StartComm; a handler must not destroy its TComm.
// - After StopComm no event of the closed session is delivered any more, so a late hang-up
//   cannot be mistaken for one of the next session.

#include "comm/ReadThread.h"
#include "comm/WriteThread.h"
#include "comm/posix/CommFile.h"
#include "comm/posix/Event.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

enum class TParity { None, Odd, Even, Mark, Space };
enum class TStopBits { _1, _1_5, _2 };
enum class TByteSize { _5, _6, _7, _8 };
enum class TDtrControl { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };

using TReceiveDataEvent =
    std::function<void(QObject* Sender, const char* Buffer, std::uint16_t BufferLength)>;
using TReceiveErrorEvent = std::function<void(QObject* Sender, std::uint32_t EventMask)>;
using TModemStateChangeEvent = std::function<void(QObject* Sender, std::uint32_t ModemEvent)>;
using TNotifyEvent = std::function<void(QObject* Sender)>;
using TSendDataEmptyEvent = std::function<void(QObject* Sender)>;

class TComm : public QObject {
    Q_OBJECT

public:
    explicit TComm(QObject* owner = nullptr);
    ~TComm() override;

    // Empty on success, else the reason in Chinese; the caller decides what to show.
    QString StartComm();
    void StopComm();
    // Copies the block and queues it for the writer; never blocks. False when the port is
    // closed, the size is 0 or the writer has ended (for example after a hang-up).
    bool WriteCommData(const char* pDataToWrite, std::uint32_t dwSizeofDataToWrite);
    // MS_CTS_ON 0x10, MS_DSR_ON 0x20, MS_RING_ON 0x40, MS_RLSD_ON 0x80; 0 when not known.
    std::uint32_t GetModemState() const;

    // The port's descriptor, 0 when closed.
    int Handle() const { return hCommFile ? hCommFile->Fd() : 0; }
    bool SendDataEmpty() const { return FSendDataEmpty.load(); }

    // Events; unassigned ones are skipped. Buffer holds BufferLength bytes and then a NUL and
    // is valid only while the handler runs.
    TReceiveDataEvent OnReceiveData;
    TReceiveErrorEvent OnReceiveError;
    TModemStateChangeEvent OnModemStateChange;
    TNotifyEvent OnRequestHangup;
    TSendDataEmptyEvent OnSendDataEmpty;

    // Properties. "COMn" is /dev/ttyS(n-1); a name with '/' is a device path.
    QString CommName() const { return FCommName; }
    void SetCommName(const QString& value) { FCommName = value; }
    std::uint32_t BaudRate() const { return FBaudRate; }
    void SetBaudRate(std::uint32_t value) { SetStateProperty(FBaudRate, value); }
    bool ParityCheck() const { return FParityCheck; }
    void SetParityCheck(bool value) { SetStateProperty(FParityCheck, value); }
    bool Outx_CtsFlow() const { return FOutx_CtsFlow; }
    void SetOutx_CtsFlow(bool value) { SetStateProperty(FOutx_CtsFlow, value); }
    bool Outx_DsrFlow() const { return FOutx_DsrFlow; }
    void SetOutx_DsrFlow(bool value) { SetStateProperty(FOutx_DsrFlow, value); }
    TDtrControl DtrControl() const { return FDtrControl; }
    void SetDtrControl(TDtrControl value) { SetStateProperty(FDtrControl, value); }
    bool DsrSensitivity() const { return FDsrSensitivity; }
    void SetDsrSensitivity(bool value) { SetStateProperty(FDsrSensitivity, value); }
    bool TxContinueOnXoff() const { return FTxContinueOnXoff; }
    void SetTxContinueOnXoff(bool value) { SetStateProperty(FTxContinueOnXoff, value); }
    bool Outx_XonXoffFlow() const { return FOutx_XonXoffFlow; }
    void SetOutx_XonXoffFlow(bool value) { SetStateProperty(FOutx_XonXoffFlow, value); }
    bool Inx_XonXoffFlow() const { return FInx_XonXoffFlow; }
    void SetInx_XonXoffFlow(bool value) { SetStateProperty(FInx_XonXoffFlow, value); }
    bool ReplaceWhenParityError() const { return FReplaceWhenParityError; }
    void SetReplaceWhenParityError(bool value) { SetStateProperty(FReplaceWhenParityError, value); }
    bool IgnoreNullChar() const { return FIgnoreNullChar; }
    void SetIgnoreNullChar(bool value) { SetStateProperty(FIgnoreNullChar, value); }
    TRtsControl RtsControl() const { return FRtsControl; }
    void SetRtsControl(TRtsControl value) { SetStateProperty(FRtsControl, value); }
    std::uint16_t XonLimit() const { return FXonLimit; }
    void SetXonLimit(std::uint16_t value) { SetStateProperty(FXonLimit, value); }
    std::uint16_t XoffLimit() const { return FXoffLimit; }
    void SetXoffLimit(std::uint16_t value) { SetStateProperty(FXoffLimit, value); }
    TByteSize ByteSize() const { return FByteSize; }
    void SetByteSize(TByteSize value) { SetStateProperty(FByteSize, value); }
    // Stored only: takes effect the next time the line settings are applied.
    TParity Parity() const { return FParity; }
    void SetParity(TParity value) { FParity = value; }
    TStopBits StopBits() const { return FStopBits; }
    void SetStopBits(TStopBits value) { SetStateProperty(FStopBits, value); }
    char XonChar() const { return FXonChar; }
    void SetXonChar(char value) { SetStateProperty(FXonChar, value); }
    char XoffChar() const { return FXoffChar; }
    void SetXoffChar(char value) { SetStateProperty(FXoffChar, value); }
    char ReplacedChar() const { return FReplacedChar; }
    void SetReplacedChar(char value) { SetStateProperty(FReplacedChar, value); }
    std::uint32_t ReadIntervalTimeout() const { return FReadIntervalTimeout; }
    void SetReadIntervalTimeout(std::uint32_t value) { SetTimeoutProperty(FReadIntervalTimeout, value); }
    std::uint32_t ReadTotalTimeoutMultiplier() const { return FReadTotalTimeoutMultiplier; }
    void SetReadTotalTimeoutMultiplier(std::uint32_t value) {
        SetTimeoutProperty(FReadTotalTimeoutMultiplier, value);
    }
    std::uint32_t ReadTotalTimeoutConstant() const { return FReadTotalTimeoutConstant; }
    void SetReadTotalTimeoutConstant(std::uint32_t value) {
        SetTimeoutProperty(FReadTotalTimeoutConstant, value);
    }
    std::uint32_t WriteTotalTimeoutMultiplier() const { return FWriteTotalTimeoutMultiplier; }
    void SetWriteTotalTimeoutMultiplier(std::uint32_t value) {
        SetTimeoutProperty(FWriteTotalTimeoutMultiplier, value);
    }
    std::uint32_t WriteTotalTimeoutConstant() const { return FWriteTotalTimeoutConstant; }
    void SetWriteTotalTimeoutConstant(std::uint32_t value) {
        SetTimeoutProperty(FWriteTotalTimeoutConstant, value);
    }

protected:
    bool event(QEvent* e) override;

    // The steps of StartComm that cannot fail on their own here; tests replace them to check
    // how StartComm recovers when they do. Thread creation throws std::system_error on failure.
    virtual bool SetupComm(posixcomm::CommFile& file, std::uint32_t inQueue, std::uint32_t outQueue);
    virtual std::unique_ptr<posixcomm::Event> CreateCloseEvent();
    virtual std::unique_ptr<TReadThread> CreateReadThread();
    virtual std::unique_ptr<TWriteThread> CreateWriteThread();

private:
    void CloseReadThread();
    void CloseWriteThread();
    QString OpenCommFile();
    QString CreatePortThreads();
    void ApplyCommState();
    std::uint32_t StateFlags() const;
    void ApplyCommTimeouts();
    bool HandleCommMessage(QEvent* e);
    void DoReceiveData(const char* Buffer, std::uint16_t BufferLength);
    void DoReceiveError(std::uint32_t EventMask);
    void DoModemStateChange(std::uint32_t ModemEvent);
    void DoRequestHangup();
    void DoSendDataEmpty();

    template <typename T> void SetStateProperty(T& field, T value) {
        if (field == value)
            return;
        field = value;
        if (hCommFile)
            ApplyCommState();
    }
    template <typename T> void SetTimeoutProperty(T& field, T value) {
        if (field == value)
            return;
        field = value;
        if (hCommFile)
            ApplyCommTimeouts();
    }

    // Declared so that the threads (which use the port, the stop event and FSendDataEmpty) are
    // destroyed, and so joined, before what they use.
    std::unique_ptr<posixcomm::CommFile> hCommFile; // the port; null when closed
    std::unique_ptr<posixcomm::Event> hCloseEvent;
    std::atomic<bool> FSendDataEmpty{true};
    std::unique_ptr<TReadThread> ReadThread;
    std::unique_ptr<TWriteThread> WriteThread;

    QString FCommName = QStringLiteral("COM2");
    std::uint32_t FBaudRate = 9600;
    bool FParityCheck = false;
    bool FOutx_CtsFlow = false;
    bool FOutx_DsrFlow = false;
    TDtrControl FDtrControl = TDtrControl::DtrEnable;
    bool FDsrSensitivity = false;
    bool FTxContinueOnXoff = true;
    bool FOutx_XonXoffFlow = true;
    bool FInx_XonXoffFlow = true;
    bool FReplaceWhenParityError = false;
    bool FIgnoreNullChar = false;
    TRtsControl FRtsControl = TRtsControl::RtsEnable;
    std::uint16_t FXonLimit = 500;
    std::uint16_t FXoffLimit = 500;
    TByteSize FByteSize = TByteSize::_8;
    TParity FParity = TParity::None;
    TStopBits FStopBits = TStopBits::_1;
    char FXonChar = 17;
    char FXoffChar = 19;
    char FReplacedChar = 0;
    std::uint32_t FReadIntervalTimeout = 100;
    std::uint32_t FReadTotalTimeoutMultiplier = 0;
    std::uint32_t FReadTotalTimeoutConstant = 0;
    std::uint32_t FWriteTotalTimeoutMultiplier = 0;
    std::uint32_t FWriteTotalTimeoutConstant = 0;
};

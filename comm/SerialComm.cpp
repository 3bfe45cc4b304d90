#include "comm/SerialComm.h"

#include "comm/CommMessages.h"
#include "comm/posix/CommState.h"

#include <QCoreApplication>
#include <QtDebug>

#include <cstring>
#include <new>
#include <system_error>

namespace {

constexpr std::uint32_t CommQueueSize = 4096;
// How long StopComm waits for each thread. The threads answer the stop event at once; the
// bound only matters if one is stuck inside the kernel, and then the join below waits on,
// because a POSIX thread cannot be terminated safely.
constexpr unsigned ThreadStopWaitMs = 10'000;

std::uint32_t dtrControlFlags(TDtrControl control) {
    switch (control) {
    case TDtrControl::DtrEnable:
        return posixcomm::DTR_CONTROL_ENABLE;
    case TDtrControl::DtrDisable:
        return posixcomm::DTR_CONTROL_DISABLE;
    case TDtrControl::DtrHandshake:
        return posixcomm::DTR_CONTROL_HANDSHAKE;
    }
    return 0;
}

std::uint32_t rtsControlFlags(TRtsControl control) {
    switch (control) {
    case TRtsControl::RtsEnable:
        return posixcomm::RTS_CONTROL_ENABLE;
    case TRtsControl::RtsDisable:
        return posixcomm::RTS_CONTROL_DISABLE;
    case TRtsControl::RtsHandshake:
        return posixcomm::RTS_CONTROL_HANDSHAKE;
    case TRtsControl::RtsTransmissionAvailable:
        return posixcomm::RTS_CONTROL_TOGGLE;
    }
    return 0;
}

} // namespace

TComm::TComm(QObject* owner) : QObject(owner) {}

TComm::~TComm() {
    StopComm();
}

QString TComm::StartComm() {
    if (hCommFile)
        return QStringLiteral("串口已打开！");
    if (QString failed = OpenCommFile(); !failed.isEmpty())
        return failed;

    hCloseEvent = CreateCloseEvent();
    if (!hCloseEvent) {
        hCommFile.reset();
        return QStringLiteral("不能创建事件!");
    }
    if (QString failed = CreatePortThreads(); !failed.isEmpty())
        return failed;

    ReadThread->Resume();
    WriteThread->Resume();
    return {};
}

// Opens the port, empties it and applies the settings; on failure nothing stays open.
QString TComm::OpenCommFile() {
    const std::string path = posixcomm::DevicePathForName(FCommName.toStdString());
    std::unique_ptr<posixcomm::CommFile> file = posixcomm::CommFile::Create(path);
    if (!file)
        return QStringLiteral("打开串口失败！");
    if (!file->IsCharacterDevice())
        return QStringLiteral("文件句柄不是通讯句柄!");
    if (!SetupComm(*file, CommQueueSize, CommQueueSize))
        return QStringLiteral("不能够安装通讯缓存!");

    hCommFile = std::move(file);
    // Bytes from before the opening must never reach the window.
    hCommFile->PurgeInput();
    hCommFile->PurgeOutput();
    FSendDataEmpty = true;

    ApplyCommTimeouts();
    ApplyCommState();
    return {};
}

// Creates the reader and the writer, suspended; on failure the port is closed again.
QString TComm::CreatePortThreads() {
    try {
        ReadThread = CreateReadThread();
    } catch (const std::exception&) {
        ReadThread.reset();
        hCloseEvent.reset();
        hCommFile.reset();
        return QStringLiteral("不能创建串口读进程!");
    }
    ReadThread->hCommFile = hCommFile.get();
    ReadThread->hCloseEvent = hCloseEvent.get();
    ReadThread->hComm32Window = this;

    try {
        WriteThread = CreateWriteThread();
    } catch (const std::exception&) {
        CloseReadThread();
        WriteThread.reset();
        hCloseEvent.reset();
        hCommFile.reset();
        return QStringLiteral("不能创建串口写进程!");
    }
    WriteThread->hCommFile = hCommFile.get();
    WriteThread->hCloseEvent = hCloseEvent.get();
    WriteThread->hComm32Window = this;
    WriteThread->pFSendDataEmpty = &FSendDataEmpty;
    return {};
}

void TComm::StopComm() {
    if (!hCommFile)
        return;
    try {
        CloseReadThread();
    } catch (const std::exception& e) {
        qWarning("%s", e.what());
    }
    try {
        CloseWriteThread();
    } catch (const std::exception& e) {
        qWarning("%s", e.what());
    }
    hCloseEvent.reset();
    hCommFile.reset();
    // Both threads are joined, so nothing posts any more: drop what the closed session left.
    // Only the threads' own kinds go; anything else posted to this object (a deferred delete,
    // a queued call) belongs to someone else and must still arrive.
    for (const int type : CommMessageTypes)
        QCoreApplication::removePostedEvents(this, type);
}

void TComm::CloseReadThread() {
    if (!ReadThread)
        return;
    hCloseEvent->Set();
    hCommFile->PurgeInput();
    if (!ReadThread->WaitFor(ThreadStopWaitMs))
        qWarning("serial reader did not stop within %u ms; still waiting", ThreadStopWaitMs);
    ReadThread.reset();
}

void TComm::CloseWriteThread() {
    if (!WriteThread)
        return;
    hCloseEvent->Set();
    hCommFile->PurgeOutput();
    FSendDataEmpty = true;
    if (!WriteThread->WaitFor(ThreadStopWaitMs))
        qWarning("serial writer did not stop within %u ms; still waiting", ThreadStopWaitMs);
    WriteThread.reset();
}

bool TComm::WriteCommData(const char* pDataToWrite, std::uint32_t dwSizeofDataToWrite) {
    if (!WriteThread || dwSizeofDataToWrite == 0 || !pDataToWrite)
        return false;
    std::unique_ptr<char[]> block;
    try {
        block.reset(new char[dwSizeofDataToWrite + std::size_t(1)]);
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::memcpy(block.get(), pDataToWrite, dwSizeofDataToWrite);
    block[dwSizeofDataToWrite] = '\0';
    // The writer's queue clears FSendDataEmpty under its own lock, together with the push, so
    // the flag cannot be overtaken by a writer that drains the queue in between.
    return WriteThread->PostWriteData(std::move(block), dwSizeofDataToWrite);
}

std::uint32_t TComm::GetModemState() const {
    std::uint32_t status = 0;
    if (!hCommFile || !hCommFile->GetCommModemStatus(status))
        return 0;
    return status;
}

void TComm::ApplyCommState() {
    posixcomm::CommState dcb;
    hCommFile->GetCommState(dcb);
    dcb.BaudRate = FBaudRate;
    dcb.Flags = StateFlags();
    dcb.XonLim = FXonLimit;
    dcb.XoffLim = FXoffLimit;
    dcb.ByteSize = static_cast<std::uint8_t>(static_cast<int>(FByteSize) + 5);
    dcb.Parity = static_cast<std::uint8_t>(FParity);
    dcb.StopBits = static_cast<std::uint8_t>(FStopBits);
    dcb.XonChar = FXonChar;
    dcb.XoffChar = FXoffChar;
    dcb.ErrorChar = FReplacedChar;

    // A state the device refuses leaves the previous one in force; by design nobody is told.
    hCommFile->SetCommState(dcb);
}

std::uint32_t TComm::StateFlags() const {
    std::uint32_t flags = posixcomm::fBinary | dtrControlFlags(FDtrControl) | rtsControlFlags(FRtsControl);
    if (FParityCheck)
        flags |= posixcomm::fParity;
    if (FOutx_CtsFlow)
        flags |= posixcomm::fOutxCtsFlow;
    if (FOutx_DsrFlow)
        flags |= posixcomm::fOutxDsrFlow;
    if (FDsrSensitivity)
        flags |= posixcomm::fDsrSensitivity;
    if (FTxContinueOnXoff)
        flags |= posixcomm::fTXContinueOnXoff;
    if (FOutx_XonXoffFlow)
        flags |= posixcomm::fOutX;
    if (FInx_XonXoffFlow)
        flags |= posixcomm::fInX;
    if (FReplaceWhenParityError)
        flags |= posixcomm::fErrorChar;
    if (FIgnoreNullChar)
        flags |= posixcomm::fNull;
    return flags;
}

void TComm::ApplyCommTimeouts() {
    posixcomm::CommTimeouts timeouts;
    hCommFile->GetCommTimeouts(timeouts);
    timeouts.ReadIntervalTimeout = FReadIntervalTimeout;
    timeouts.ReadTotalTimeoutMultiplier = FReadTotalTimeoutMultiplier;
    timeouts.ReadTotalTimeoutConstant = FReadTotalTimeoutConstant;
    timeouts.WriteTotalTimeoutMultiplier = FWriteTotalTimeoutMultiplier;
    timeouts.WriteTotalTimeoutConstant = FWriteTotalTimeoutConstant;
    hCommFile->SetCommTimeouts(timeouts);
}

bool TComm::SetupComm(posixcomm::CommFile&, std::uint32_t, std::uint32_t) {
    // The kernel's tty buffers have a fixed size; there is nothing to set up.
    return true;
}

std::unique_ptr<posixcomm::Event> TComm::CreateCloseEvent() {
    auto event = std::make_unique<posixcomm::Event>();
    if (!event->Create())
        return nullptr;
    return event;
}

std::unique_ptr<TReadThread> TComm::CreateReadThread() {
    return std::make_unique<TReadThread>();
}

std::unique_ptr<TWriteThread> TComm::CreateWriteThread() {
    return std::make_unique<TWriteThread>();
}

bool TComm::event(QEvent* e) {
    CommMessageArrived(this);
    if (HandleCommMessage(e))
        return true;
    return QObject::event(e);
}

bool TComm::HandleCommMessage(QEvent* e) {
    auto* message = dynamic_cast<TCommMessage*>(e);
    if (!message)
        return false;
    switch (static_cast<int>(e->type())) {
    case UM_COMM_DATA: {
        // The block is released with the message, whether or not a handler ran.
        DoReceiveData(message->Block.get(), static_cast<std::uint16_t>(message->WParam & 0xFFFF));
        message->Block.reset();
        return true;
    }
    case UM_COMM_ERROR:
        DoReceiveError(message->LParam);
        return true;
    case UM_COMM_HANGUP:
        DoRequestHangup();
        return true;
    case UM_COMM_MODEM:
        DoModemStateChange(message->LParam);
        return true;
    case UM_COMM_SENT:
        DoSendDataEmpty();
        return true;
    default:
        return false;
    }
}

// Each handler is copied before the call, so a handler that reassigns its own event does not
// destroy the function object it is running in.
void TComm::DoReceiveData(const char* Buffer, std::uint16_t BufferLength) {
    if (auto handler = OnReceiveData)
        handler(this, Buffer, BufferLength);
}

void TComm::DoReceiveError(std::uint32_t EventMask) {
    if (auto handler = OnReceiveError)
        handler(this, EventMask);
}

void TComm::DoModemStateChange(std::uint32_t ModemEvent) {
    if (auto handler = OnModemStateChange)
        handler(this, ModemEvent);
}

void TComm::DoRequestHangup() {
    if (auto handler = OnRequestHangup)
        handler(this);
}

void TComm::DoSendDataEmpty() {
    if (auto handler = OnSendDataEmpty)
        handler(this);
}

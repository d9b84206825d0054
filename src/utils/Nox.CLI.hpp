#pragma once
// The command runner: starts a command line as a hidden child process, hands its output to
// the caller line by line while it runs and makes sure the child is gone at the end.
// The work is the operating system's (Nox.CLI.Win registers a factory for it); the rest of
// the program only uses the facade TCLI, which does nothing where no factory is registered.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "rtl/Guid.hpp"
#include "toolkit/PlatformServices.hpp"

namespace Nox::CLI {

// One line of the child's output: true means go on, false asks the runner to stop.
// May be empty (unassigned): the runner then reads and discards.
using TCLIReadEvent = std::function<bool(const std::u16string& iLine)>;

class ICLI : public ui::IInterface {
 public:
  [[nodiscard]] static const rtl::TGUID& IID();

  // Runs the command and returns every piece of text that reached the line handler, each
  // followed by CR LF; empty when the command cannot be started or writes nothing.
  // Not [[nodiscard]]: the wallet hand-off runs a command for its effect alone.
  virtual std::u16string Execute(const std::u16string& iCommand) = 0;
  // Runs the command and hands each output line to iHandler while it runs.
  virtual void WhileExec(const std::u16string& iCommand, const TCLIReadEvent& iHandler) = 0;
  // Asks a running WhileExec of the same object to stop after its current poll.
  virtual void WhileBreak() = 0;
};

// The service key of the runner's factory in ui::TPlatformServices is IID().
class ICLIFactory : public ui::IInterface {
 public:
  [[nodiscard]] static const rtl::TGUID& IID();

  [[nodiscard]] virtual std::shared_ptr<ICLI> CreateCLI() = 0;
};

class TCLIFactory : public ICLIFactory {
 public:
  [[nodiscard]] std::shared_ptr<ICLI> CreateCLI() override = 0;
};

// Output read but not yet handed out. Lines end at CR LF only: a lone CR or LF is text.
class TPendingText {
 public:
  void Append(std::u16string_view iText) { FText.append(iText); }

  // Hands each complete line, without its CR LF, to iHandler. Returns false as soon as the
  // handler asks to stop; the lines after that one stay pending.
  [[nodiscard]] bool DispatchLines(const TCLIReadEvent& iHandler);

  // Hands whatever is left (complete lines included) to iHandler in one call, if anything
  // is left; the handler's answer no longer matters.
  void DispatchRemainder(const TCLIReadEvent& iHandler);

  [[nodiscard]] const std::u16string& Text() const noexcept { return FText; }

 private:
  std::u16string FText;
};

// How many bytes a character of a multi-byte code page takes, judged by its first byte.
using TCharByteCount = std::function<std::size_t(unsigned char iLeadByte)>;

// The length of the longest prefix of iBytes that ends on a character boundary, so that a
// character split between two reads of a pipe is converted whole with the next read.
[[nodiscard]] std::size_t CompleteCharsLength(std::string_view iBytes, const TCharByteCount& iByteCount);

// The byte count of a UTF-8 character by its lead byte; 1 for bytes that cannot lead one.
[[nodiscard]] std::size_t Utf8CharByteCount(unsigned char iLeadByte) noexcept;

// The facade the program uses. Each TCLI has its own runner, so it is not copied: a copy
// would share the runner and its stop request.
class TCLI {
 public:
  TCLI();
  TCLI(const TCLI&) = delete;
  TCLI& operator=(const TCLI&) = delete;
  TCLI(TCLI&&) noexcept = default;
  TCLI& operator=(TCLI&&) noexcept = default;

  std::u16string Execute(const std::u16string& iCommand);
  // Without a runner an assigned handler is called once with the empty string.
  void WhileExec(const std::u16string& iCommand, const TCLIReadEvent& iHandler);
  void WhileBreak();

 private:
  std::shared_ptr<ICLI> FCLI;
};

}  // namespace Nox::CLI

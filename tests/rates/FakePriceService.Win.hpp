#pragma once
// Starts tools/fake-price-service for one test, with the reply the test chose, and ends
// it again. Every wait is bounded.

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/UniqueHandle.hpp"

namespace rates_tests {

class TFakePriceService {
 public:
  // Waits (bounded) until the server listens; Port() is 0 when it did not start.
  explicit TFakePriceService(const std::string& iReply);
  TFakePriceService(const TFakePriceService&) = delete;
  TFakePriceService& operator=(const TFakePriceService&) = delete;
  ~TFakePriceService();

  [[nodiscard]] unsigned Port() const { return FPort; }
  [[nodiscard]] std::u16string BaseURL() const;
  // The request lines received so far, oldest first.
  [[nodiscard]] std::vector<std::string> RequestLines() const;

 private:
  std::u16string FPortFile;
  std::u16string FLogFile;
  ui::TUniqueKernelHandle FJob;
  ui::TUniqueKernelHandle FProcess;
  unsigned FPort = 0;
};

// A port on 127.0.0.1 that nothing listens on (bound, then released).
[[nodiscard]] unsigned UnusedPort();

}  // namespace rates_tests

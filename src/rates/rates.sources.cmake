# Exchange rates: the price service client and its HTTP client; WinHTTP on Windows.
list(APPEND ORVELLA_CORE_SOURCES
  rates/uHttpClient.cpp
  rates/uCoinMarketCap.cpp
)
list(APPEND ORVELLA_WIN_SOURCES
  rates/uHttpClient.Win.cpp
)
list(APPEND ORVELLA_WIN_LIBS winhttp)

# Exchange rates. Portable: the REST client and the price client over a scripted transport.
list(APPEND CORE_TEST_SOURCES
  rates/uHttpClientTests.cpp
  rates/uCoinMarketCapTests.cpp
)

# Windows: WinHTTP against the fake price service (tools/fake-price-service).
if(WIN32)
  orvella_add_test_program(rates_win_tests
    SOURCES rates/uHttpClientWinTests.cpp rates/FakePriceService.Win.cpp
    LIBS orvella_win ws2_32 gmock gtest_main)
  add_dependencies(rates_win_tests fake-price-service)
  target_compile_definitions(rates_win_tests PRIVATE FAKE_PRICE_SERVICE_EXE="$<TARGET_FILE:fake-price-service>")
endif()

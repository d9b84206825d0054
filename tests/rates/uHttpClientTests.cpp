#include "rates/uHttpClient.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FakeHttpTransport.hpp"
#include "rtl/Text.hpp"

namespace {

using namespace uHttpClient;
using rtl::Utf16ToUtf8;

// A JSON text nested `depth` levels deep: an object holding arrays.
std::string Nested(std::size_t depth) {
  std::string text = "{\"a\":" + std::string(depth - 1, '[') + std::string(depth - 1, ']') + "}";
  return text;
}

TEST(EncodeURLSegment, EscapesEverythingButUnreservedCharacters) {
  struct Row {
    std::u16string value;
    std::u16string expected;
  };
  const Row rows[] = {
      {u"", u""},
      {u"JPY", u"JPY"},
      {u"Az09-._~", u"Az09-._~"},
      {u"a b", u"a%20b"},
      {u"/?&=#%+", u"%2F%3F%26%3D%23%25%2B"},
      {u"{CURRENCY}", u"%7BCURRENCY%7D"},
      {u"\u00E9", u"%C3%A9"},
      {std::u16string(1, char16_t(0xD800)), u"%EF%BF%BD"},
      {std::u16string(1, u'\0'), u"%00"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Utf16ToUtf8(row.value));
    EXPECT_EQ(Utf16ToUtf8(EncodeURLSegment(row.value)), Utf16ToUtf8(row.expected));
  }
}

TEST(TRESTRequest, FillsPlaceholdersWithEncodedValuesAndReplacesOnSet) {
  TRESTRequest request;
  request.SetResource(u"ticker/{COINCODE}/?convert={CURRENCY}");
  request.AddOrSetURLSegment(u"COINCODE", u"{CURRENCY}");
  request.AddOrSetURLSegment(u"CURRENCY", u"JPY");
  request.AddOrSetURLSegment(u"CURRENCY", u"a&b");
  EXPECT_EQ(request.URLSegments().size(), 2u);
  // A value that looks like a placeholder is never filled in itself.
  EXPECT_EQ(Utf16ToUtf8(request.FullResource()), "ticker/%7BCURRENCY%7D/?convert=a%26b");

  TRESTRequest unfilled;
  unfilled.SetResource(u"ticker/{COINCODE}/");
  EXPECT_EQ(Utf16ToUtf8(unfilled.FullResource()), "ticker/{COINCODE}/");
}

TEST(TRESTClient, RunsTheHandlerForAnyReplyBelow500Only) {
  struct Row {
    std::optional<int> status;  // nullopt: no reply at all
    bool handled;
  };
  const Row rows[] = {{200, true}, {301, true}, {404, true}, {499, true},
                      {500, false}, {503, false}, {599, false}, {std::nullopt, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.status ? std::to_string(*row.status) : "no reply");
    auto transport = std::make_shared<rates_tests::TFakeHttpTransport>();
    if (row.status) transport->Reply = THttpReply{*row.status, "{\"x\":1}"};
    TRESTClient client(u"http://127.0.0.1/v2/", transport);
    TRESTRequest request;
    request.SetResource(u"ticker/");
    TRESTResponse response;
    int calls = 0;
    const bool ok = client.Execute(request, response, [&](const TRESTResponse& r) {
      ++calls;
      EXPECT_EQ(r.StatusCode(), *row.status);
      ASSERT_TRUE(r.JSONValue().has_value());
      EXPECT_EQ((*r.JSONValue())["x"], 1);
    });
    EXPECT_EQ(ok, row.handled);
    EXPECT_EQ(calls, row.handled ? 1 : 0);
    ASSERT_EQ(transport->URLs.size(), 1u);
    EXPECT_EQ(Utf16ToUtf8(transport->URLs[0]), "http://127.0.0.1/v2/ticker/");
  }
}

TEST(TRESTClient, WithoutTransportSendsNothingAndFails) {
  TRESTClient client(u"http://127.0.0.1/", nullptr);
  TRESTResponse response;
  int calls = 0;
  EXPECT_FALSE(client.Execute(TRESTRequest{}, response, [&](const TRESTResponse&) { ++calls; }));
  EXPECT_EQ(calls, 0);
}

TEST(ParseJSONBody, RejectsEmptyOversizedTooDeepAndMalformedBodies) {
  const std::string padded = "{\"p\":\"" + std::string(MAX_BODY_BYTES - 8, 'x') + "\"}";
  ASSERT_EQ(padded.size(), MAX_BODY_BYTES);
  struct Row {
    const char* name;
    std::string body;
    bool parsed;
  };
  const Row rows[] = {
      {"empty", "", false},
      {"blanks", " \r\n", false},
      {"html", "<html><body>Bad gateway</body></html>", false},
      {"trailing garbage", "{} x", false},
      {"truncated", "{\"data\":{", false},
      {"null", "null", true},
      {"exactly the cap", padded, true},
      {"one byte over the cap", padded + " ", false},
      {"depth 64", Nested(MAX_JSON_DEPTH), true},
      {"depth 65", Nested(MAX_JSON_DEPTH + 1), false},
      {"depth 100000", std::string(100000, '[') + std::string(100000, ']'), false},
      {"brackets inside a string", "{\"s\":\"" + std::string(1000, '[') + "\"}", true},
      {"escaped quote inside a string", "{\"s\":\"\\\"" + std::string(1000, '{') + "\"}", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ParseJSONBody(row.body).has_value(), row.parsed);
  }
}

}  // namespace

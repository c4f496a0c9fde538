#pragma once
// The columns of txsj a workbook carries (every column but id, in the table's order), each
// with the form the store writes there. ASCII only, so that code compiled as UTF-8 (the
// workbook fuzz target) reads the same table.
#include <vector>

#include "platform/db/exchange.h"

namespace workmemo {

inline const std::vector<platform::db::ExchangeColumn>& TimedExchangeColumns() {
  using Kind = platform::db::ColumnKind;
  static const std::vector<platform::db::ExchangeColumn> columns = {
      {"ksdate", Kind::DateTime}, {"jsdate", Kind::DateTime}, {"kstime", Kind::DateTime},
      {"jstime", Kind::DateTime}, {"txdate", Kind::DateTime}, {"txfs", Kind::Integer},
      {"txrw", Kind::Integer},    {"txbt", Kind::Text},       {"txnr", Kind::Text},
      {"txyy", Kind::Text},       {"txcx", Kind::Text},       {"txwy", Kind::Text},
      {"cfsj", Kind::Integer},    {"cfdw", Kind::Integer},    {"tqsj", Kind::Integer},
      {"tqdw", Kind::Integer},    {"txlx", Kind::Text},       {"txjd", Kind::Integer},
      {"txweek", Kind::Text},     {"notxweek", Kind::Text},   {"txmonth", Kind::Text},
      {"txdays", Kind::Text},     {"djsj", Kind::Integer},    {"nlyear", Kind::Integer},
      {"nlry", Kind::Integer},    {"cfcs", Kind::Integer},    {"cfjs", Kind::Integer},
      {"cfcsdw", Kind::Integer},  {"bytx", Kind::Integer},    {"txzt", Kind::Integer},
      {"xctx", Kind::Integer},    {"gbcksj", Kind::Integer},  {"gjys", Kind::Integer},
      {"qzzx", Kind::Integer},    {"txdz", Kind::Integer},    {"yytx", Kind::Integer},
      {"gxdate", Kind::DateTime}, {"tjdate", Kind::DateTime},
  };
  return columns;
}

}  // namespace workmemo

#pragma once

// Reply codes the stand-in service gives besides REPLY_SUCCESS
// (records/creplycode.h), with the values the daemon knows by name.
namespace SimReply {
constexpr int VALIDATION_ERROR = -1000;
constexpr int WRONG_TYPE_FOR_THIS_SET = -1001;
constexpr int PARAMETER_ERROR = -2001;
constexpr int SQL_QUERY_EXEC_INSERT = -2023;
} // namespace SimReply

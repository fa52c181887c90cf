#pragma once

#include <nwLogging/Levels.h>
#include <nwLogging/LogMacros.h>
#include <nwLogging/LogStream.h>
#include <nwLogging/Logger.h>
#include <nwLogging/Record.h>
#include <nwLogging/Target.h>

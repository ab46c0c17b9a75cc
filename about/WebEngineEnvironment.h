#pragma once

// Sets up what the web engine needs before its library is loaded. Safe to call again.
void prepareWebEngineEnvironment();

#pragma once
// Resources of the browser views and their popups (views.rc).

// The loading animation a browser view plays until its page is ready.
#define IDR_VIEW_LOADING_GIF 154

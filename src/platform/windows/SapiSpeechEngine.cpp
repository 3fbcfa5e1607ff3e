#include "platform/windows/SapiSpeechEngine.h"

#include <sapi.h>

#include "platform/windows/WideText.h"

namespace qb::platform {

SapiSpeechEngine::~SapiSpeechEngine() {
    if (voice_ != nullptr) {
        // Whatever is still being said ends with the program.
        voice_->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
        voice_->Release();
    }
    if (comStarted_) CoUninitialize();
}

ISpVoice* SapiSpeechEngine::voice() {
    if (tried_) return voice_;
    tried_ = true;
    // The window's thread may have started COM already, in either model: the voice works in
    // both, and only a start made here is ended here.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comStarted_ = SUCCEEDED(com);
    if (!comStarted_ && com != RPC_E_CHANGED_MODE) {
        silent_ = true;
        return nullptr;
    }
    void* made = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice, &made)) ||
        made == nullptr) {
        silent_ = true;
        return nullptr;
    }
    voice_ = static_cast<ISpVoice*>(made);
    // A voice object with no voice token behind it has nobody to speak with; one that
    // refuses even an empty text (as Wine's does, while it lists a voice) cannot speak
    // either. Knowing it now keeps the speak button's tip honest before the first word.
    ISpObjectToken* token = nullptr;
    if (FAILED(voice_->GetVoice(&token)) || token == nullptr)
        silent_ = true;
    else
        token->Release();
    if (!silent_ && FAILED(voice_->Speak(L"", SPF_ASYNC | SPF_IS_NOT_XML, nullptr))) silent_ = true;
    return voice_;
}

bool SapiSpeechEngine::speak(const wchar_t* text, DWORD flags) {
    ISpVoice* const spoken = voice();
    if (spoken == nullptr || silent_) return false;
    const HRESULT result = spoken->Speak(text, flags, nullptr);
    // Bad input is the caller's fault; anything else means this voice will not speak.
    if (FAILED(result) && result != E_INVALIDARG && result != E_POINTER) silent_ = true;
    return SUCCEEDED(result);
}

bool SapiSpeechEngine::stop() {
    // No text, with the purge: what is being said and what waits to be said is dropped.
    return speak(nullptr, SPF_PURGEBEFORESPEAK);
}

bool SapiSpeechEngine::say(const std::u16string& text) {
    if (holdsNul(text)) return false;
    const std::wstring wide = wideText(text);
    // The typed text as it is: never read as markup, never waited for, and cutting in on
    // whatever is still being said.
    return speak(wide.c_str(), SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML);
}

bool SapiSpeechEngine::hasVoice() {
    voice();
    return !silent_;
}

}  // namespace qb::platform

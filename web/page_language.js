// The page's language: the one it starts in (the address's lang, else the one last
// chosen here, else the browser's preference), remembered when the link at the top
// switches it. This module owns it; the others read it through PageLanguage().
import { kLanguages, PreferredLanguage } from './i18n.js';

const kLanguageStoreKey = 'quillmere-language';  // the language last chosen, in localStorage

export function LanguageFromUrl() {
  const text = new URLSearchParams(location.search).get('lang');
  return kLanguages.includes(text) ? text : null;
}

// Storage may be refused (a browser's privacy setting): then nothing is remembered.
function StoredLanguage() {
  try {
    const text = localStorage.getItem(kLanguageStoreKey);
    return kLanguages.includes(text) ? text : null;
  } catch {
    return null;
  }
}

let pageLanguage = LanguageFromUrl() ?? StoredLanguage() ?? PreferredLanguage(navigator.languages);

export function PageLanguage() {
  return pageLanguage;
}

// Shows the page in language from now on; remember: kept for the next visit (the
// switch's choice, not an address's).
export function SetPageLanguage(language, remember) {
  pageLanguage = language;
  if (!remember) return;
  try {
    localStorage.setItem(kLanguageStoreKey, language);
  } catch {
    // Not remembered; the page still switches.
  }
}

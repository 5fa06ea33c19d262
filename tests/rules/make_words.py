#!/usr/bin/env python3
"""Makes words.tsv, the word list of the rule file tests.

For every Devanagari word below it writes three columns:
  roman    the word in the Roman scheme of data/rules/SCHEME.md, written by an
           independent transliterator over Unicode (below, not the rule files)
  iscii    the word's ISCII-91 bytes as ICU encodes them (uconv), in hex
  unicode  the word itself, checked to come back from the ISCII through uconv
The tests expect EN2IN to turn the roman column into the ISCII bytes and
IN2EN to turn the bytes back into the roman column. Words are checked against
the aspell Hindi/Marathi dictionaries when those are installed (a report only).
Run: python3 make_words.py > words.tsv
"""
import subprocess, sys, unicodedata

WORDS = """
नमस्ते भारत हिन्दी भाषा कमल राम सीता गंगा यमुना दिल्ली मुंबई पानी खाना घर परिवार
माता पिता भाई बहन बच्चा लड़का लड़की आदमी औरत दोस्त किताब कलम विद्यालय शिक्षा
विद्यार्थी अध्यापक प्रश्न उत्तर समय दिन रात सुबह शाम आज कल हमेशा कभी नहीं
हाँ बहुत अच्छा बुरा सुंदर बड़ा छोटा नया पुराना गई नई कई आई लिए गए
प्रेम क्रोध दुःख सुख शांति युद्ध धर्म कर्म ज्ञान विज्ञान संस्कृत संस्कृति
कृष्ण लक्ष्मी गणेश शिव सरस्वती दुर्गा हनुमान रामायण महाभारत उपनिषद
देश राज्य शहर गाँव सड़क नदी पहाड़ समुद्र आकाश धरती सूरज चाँद तारा बादल
हवा आग पेड़ फूल फल सब्ज़ी दूध चाय चीनी नमक रोटी चावल दाल मिठाई
ज़रूरत ज़िंदगी क़लम ख़ुशी ग़लत फ़िल्म अख़बार बाज़ार दरवाज़ा
काम नौकरी पैसा सरकार नेता चुनाव जनता क़ानून न्याय स्वतंत्रता
एक दो तीन चार पाँच छह सात आठ नौ दस सौ हज़ार
ऋषि ऋतु कृपा हृदय तृष्णा अमृत मृत्यु
ईश्वर ऊपर ऐनक औषधि उद्योग इतिहास अंग्रेज़ी
ॐ सोऽहम् जगत् विद्वान् भगवान्
महाराष्ट्र मराठी पुणे शाळा मुळे बाळ
डॉक्टर ऑफ़िस कॉलेज
दुःख निःशुल्क अन्तःकरण
छात्र झंडा ठंडा ढोल घंटा ङ वाङ्मय
""".split()

CONS = {'क':'k','ख':'kh','ग':'g','घ':'gh','ङ':'~N','च':'ch','छ':'chh','ज':'j','झ':'jh',
        'ञ':'~n','ट':'T','ठ':'Th','ड':'D','ढ':'Dh','ण':'N','त':'t','थ':'th','द':'d',
        'ध':'dh','न':'n','प':'p','फ':'ph','ब':'b','भ':'bh','म':'m','य':'y','र':'r',
        'ल':'l','ळ':'L','व':'v','श':'sh','ष':'Sh','स':'s','ह':'h'}
NUKTA = {'क':'q','ख':'K','ग':'G','ज':'z','ड':'.D','ढ':'.Dh','फ':'f','य':'Y'}
VOWELS = {'अ':'a','आ':'aa','इ':'i','ई':'ii','उ':'u','ऊ':'uu','ऋ':'RRi','ॠ':'RRI','ए':'e',
          'ऐ':'ai','ओ':'o','औ':'au','ऑ':'O'}
SIGNS = {'ा':'aa','ि':'i','ी':'ii','ु':'u','ू':'uu','ृ':'RRi','ॄ':'RRI','े':'e','ै':'ai',
         'ो':'o','ौ':'au','ॉ':'O'}
# After a written inherent a, these independent vowels would run into it.
AFTER_A = {'a':'_a','aa':'A','i':'_i','ii':'I','u':'_u','uu':'U','ai':'_ai','au':'_au'}
ASPIRABLE = {'k','g','ch','j','T','D','t','d','p','b','s','.D'}
VIRAMA, NUKTA_SIGN = '्', '़'

def roman(word):
    w = unicodedata.normalize('NFD', word)  # precomposed nukta letters -> letter + nukta
    out, i, ends_in_a = [], 0, False
    while i < len(w):
        c = w[i]
        if c in CONS:
            if w[i:i + 3] == 'ज्ञ':
                r, i = 'GY', i + 3
            elif i + 1 < len(w) and w[i + 1] == NUKTA_SIGN:
                r, i = NUKTA[c], i + 2
            else:
                r, i = CONS[c], i + 1
            nxt = w[i] if i < len(w) else ''
            if nxt in SIGNS:
                out.append(r + SIGNS[nxt]); i += 1; ends_in_a = False
            elif nxt == VIRAMA:
                i += 1
                after = w[i] if i < len(w) else ''
                if after in CONS:
                    out.append(r + ('_' if after == 'ह' and r in ASPIRABLE else ''))
                else:
                    out.append(r + '.h')
                ends_in_a = False
            else:
                out.append(r + 'a'); ends_in_a = True
            continue
        if c in VOWELS:
            v = VOWELS[c]
            out.append(AFTER_A.get(v, v) if ends_in_a else v)
            ends_in_a = v == 'a'
        elif c == 'ं': out.append('M'); ends_in_a = False
        elif c == 'ँ': out.append('.N'); ends_in_a = False
        elif c == 'ः': out.append('H'); ends_in_a = False
        elif c == 'ऽ': out.append('.a'); ends_in_a = False
        elif c == 'ॐ': out.append('OM'); ends_in_a = True
        else: raise ValueError('no Roman spelling for %r in %s' % (c, word))
        i += 1
    return ''.join(out)

def uconv(data, to_iscii):
    args = ['uconv', '-f', 'UTF-8', '-t', 'ISCII,version=0'] if to_iscii else \
           ['uconv', '-f', 'ISCII,version=0', '-t', 'UTF-8']
    return subprocess.run(args, input=data, capture_output=True, check=True).stdout

def dictionary():
    words = set()
    for d in ('hi', 'mr'):
        try:
            words |= set(subprocess.run(['aspell', '-d', d, 'dump', 'master'], capture_output=True,
                                        text=True).stdout.split())
        except OSError:
            pass
    return words

known = dictionary()
print('# roman\tiscii\tunicode   (made by make_words.py: ISCII from ICU uconv, checked back)')
for word in WORDS:
    iscii = uconv(word.encode(), True)
    if iscii[:1] == b'\xef':
        iscii = iscii[2:]  # ICU starts with an ATR script switch
    back = uconv(iscii, False).decode()
    if unicodedata.normalize('NFC', back) != unicodedata.normalize('NFC', word):
        sys.exit('uconv does not give %s back from its ISCII' % word)
    if known and word not in known:
        print('not in the aspell dictionaries: %s' % word, file=sys.stderr)
    print('%s\t%s\t%s' % (roman(word), iscii.hex().upper(), word))

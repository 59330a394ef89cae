// The program's Japanese texts as code page 932 bytes, each below its text. Written by
// tools/program_texts from base/program_texts.txt: edit the table, then run the script.
#pragma once

namespace quilla::texts {

// A text's bytes stay on one line.
// clang-format off

// アイテムエディタ
inline constexpr char kItemEditorTitle[] = "\203A\203C\203e\203\200\203G\203f\203B\203^";

// 武器
inline constexpr char kWeapon[] = "\225\220\212\355";

// 盾
inline constexpr char kShield[] = "\217\202";

// お守り
inline constexpr char kAmulet[] = "\202\250\216\347\202\350";

// 武器印
inline constexpr char kWeaponSeal[] = "\225\220\212\355\210\363";

// 盾印
inline constexpr char kShieldSeal[] = "\217\202\210\363";

// 名前
inline constexpr char kNameColumn[] = "\226\274\221O";

// 器数
inline constexpr char kSlotsColumn[] = "\212\355\220\224";

// 保存
inline constexpr char kSave[] = "\225\333\221\266";

// 読込
inline constexpr char kLoad[] = "\223\307\215\236";

// 探す
inline constexpr char kSearch[] = "\222T\202\267";

// 次へ
inline constexpr char kNext[] = "\216\237\202\326";

// 初期化
inline constexpr char kReset[] = "\217\211\212\372\211\273";

// 適用
inline constexpr char kApply[] = "\223K\227p";

// 武器,
inline constexpr char kWeaponSection[] = "\225\220\212\355,";

// 盾,
inline constexpr char kShieldSection[] = "\217\202,";

// お守り,
inline constexpr char kAmuletSection[] = "\202\250\216\347\202\350,";

// 武器印,
inline constexpr char kWeaponSealSection[] = "\225\220\212\355\210\363,";

// 盾印,
inline constexpr char kShieldSealSection[] = "\217\202\210\363,";

// 鎌必三付牙怪銀凍紅帝斬奇超識
inline constexpr char kWeaponSealsOneSlot[] = "\212\231\225K\216O\225t\211\345\211\366\213\342\223\200\215g\222\351\216a\212\357\222\264\216\257";

// 風
inline constexpr char kWeaponSealsTwoSlots[] = "\225\227";

// 竜
inline constexpr char kSealsFiveSlots[] = "\227\263";

// 発見影炎氷識蒸超罠奇状無界縛
inline constexpr char kShieldSealsOneSlot[] = "\224\255\214\251\211e\211\212\225X\216\257\217\366\222\264\343\251\212\357\217\363\226\263\212E\224\233";

// 踊祓魔重消
inline constexpr char kShieldSealsTwoSlots[] = "\227x\342P\226\202\217d\217\301";

// ←
inline constexpr char kKeyLeft[] = "\201\251";

// ↑
inline constexpr char kKeyUp[] = "\201\252";

// →
inline constexpr char kKeyRight[] = "\201\250";

// ↓
inline constexpr char kKeyDown[] = "\201\253";

// ＼
inline constexpr char kKeyBackslash[] = "\201_";

// Pad ↑
inline constexpr char kPadKeyUp[] = "Pad \201\252";

// Pad ↓
inline constexpr char kPadKeyDown[] = "Pad \201\253";

// Pad ←
inline constexpr char kPadKeyLeft[] = "Pad \201\251";

// Pad →
inline constexpr char kPadKeyRight[] = "Pad \201\250";

// Ｅ
inline constexpr char kEquippedMark[] = "\202d";

// 金
inline constexpr char kGoldMark[] = "\213\340";

// ★
inline constexpr char kGoldStar[] = "\201\232";

// ー
inline constexpr char kLongVowel[] = "\201[";

// のお守り
inline constexpr char kAmuletSuffix[] = "\202\314\202\250\216\347\202\350";

// お守り：
inline constexpr char kAmuletLabel[] = "\202\250\216\347\202\350\201F";

// ○
inline constexpr char kFreeSlot[] = "\201\233";

// クイラ　持ち物ウィンドウ
inline constexpr char kInventoryWindowTitle[] = "\203N\203C\203\211\201@\216\235\202\277\225\250\203E\203B\203\223\203h\203E";

// 何も装備していない場合の表示
inline constexpr char kNothingEquippedLabel[] = "\211\275\202\340\221\225\224\365\202\265\202\304\202\242\202\310\202\242\217\352\215\207\202\314\225\\\216\246";

// 更新間隔(ms)
inline constexpr char kWaitLabel[] = "\215X\220V\212\324\212u(ms)";

// 起動時に持ち物ウィンドウを開く
inline constexpr char kOpenInventoryLabel[] = "\213N\223\256\216\236\202\311\216\235\202\277\225\250\203E\203B\203\223\203h\203E\202\360\212J\202\255";

// キー入力で透過切替
inline constexpr char kHotKeyLabel[] = "\203L\201[\223\374\227\315\202\305\223\247\211\337\220\330\221\326";

// ＭＳ ゴシック
inline constexpr char kDefaultFontFace[] = "\202l\202r \203S\203V\203b\203N";

// なし
inline constexpr char kDefaultNothingText[] = "\202\310\202\265";

// 新たなバージョンが見つかりました。\r\n
inline constexpr char kUpdateOfferLead[] = "\220V\202\275\202\310\203o\201[\203W\203\207\203\223\202\252\214\251\202\302\202\251\202\350\202\334\202\265\202\275\201B\015\012";

// \r\nダウンロードしますか？\r\n(ブラウザが起動してZIPファイルをダウンロードします。\r\n解凍等は各自お願いします。)
inline constexpr char kUpdateOfferTail[] = "\015\012\203_\203E\203\223\203\215\201[\203h\202\265\202\334\202\267\202\251\201H\015\012(\203u\203\211\203E\203U\202\252\213N\223\256\202\265\202\304ZIP\203t\203@\203C\203\213\202\360\203_\203E\203\223\203\215\201[\203h\202\265\202\334\202\267\201B\015\012\211\360\223\200\223\231\202\315\212e\216\251\202\250\212\350\202\242\202\265\202\334\202\267\201B)";

// アップデート
inline constexpr char kUpdateOfferCaption[] = "\203A\203b\203v\203f\201[\203g";

// バージョン情報
inline constexpr char kVersionCaption[] = "\203o\201[\203W\203\207\203\223\217\356\225\361";

// 管理者として実行しているため、ブラウザを開きませんでした。\r\n次のアドレスをブラウザで開いてください。\r\n\r\n
inline constexpr char kDownloadAddressLead[] = "\212\307\227\235\216\322\202\306\202\265\202\304\216\300\215s\202\265\202\304\202\242\202\351\202\275\202\337\201A\203u\203\211\203E\203U\202\360\212J\202\253\202\334\202\271\202\361\202\305\202\265\202\275\201B\015\012\216\237\202\314\203A\203h\203\214\203X\202\360\203u\203\211\203E\203U\202\305\212J\202\242\202\304\202\255\202\276\202\263\202\242\201B\015\012\015\012";

// \r\n\r\n(Ctrl+C でこのメッセージをコピーできます。)
inline constexpr char kDownloadAddressTail[] = "\015\012\015\012(Ctrl+C \202\305\202\261\202\314\203\201\203b\203Z\201[\203W\202\360\203R\203s\201[\202\305\202\253\202\334\202\267\201B)";

// 前面
inline constexpr char kMenuTopMost[] = "\221O\226\312";

// 透過
inline constexpr char kMenuTransparent[] = "\223\247\211\337";

// 表示
inline constexpr char kMenuDisplay[] = "\225\\\216\246";

// 位置
inline constexpr char kMenuPosition[] = "\210\312\222u";

// 器数(+)
inline constexpr char kMenuSlotsUp[] = "\212\355\220\224(+)";

// 器数(-)
inline constexpr char kMenuSlotsDown[] = "\212\355\220\224(-)";

// 設定
inline constexpr char kMenuSettings[] = "\220\335\222\350";

// 情報
inline constexpr char kMenuInformation[] = "\217\356\225\361";

// 終了
inline constexpr char kMenuExit[] = "\217I\227\271";

// 武器を表示
inline constexpr char kMenuShowWeapon[] = "\225\220\212\355\202\360\225\\\216\246";

// 盾を表示
inline constexpr char kMenuShowShield[] = "\217\202\202\360\225\\\216\246";

// お守りを表示
inline constexpr char kMenuShowAmulet[] = "\202\250\216\347\202\350\202\360\225\\\216\246";

// 空き器を○表示
inline constexpr char kMenuShowFreeSlots[] = "\213\363\202\253\212\355\202\360\201\233\225\\\216\246";

// 器数オーバー時に印を非表示
inline constexpr char kMenuHideOverflowSeals[] = "\212\355\220\224\203I\201[\203o\201[\216\236\202\311\210\363\202\360\224\361\225\\\216\246";

// 器数を表示
inline constexpr char kMenuShowSlots[] = "\212\355\220\224\202\360\225\\\216\246";

// アイテムエディタ起動
inline constexpr char kMenuItemEditor[] = "\203A\203C\203e\203\200\203G\203f\203B\203^\213N\223\256";

// 固定なし
inline constexpr char kMenuPositionFree[] = "\214\305\222\350\202\310\202\265";

// 左下に固定
inline constexpr char kMenuPositionPinned[] = "\215\266\211\272\202\311\214\305\222\350";

// 領域を拡張して表示
inline constexpr char kMenuPositionExtended[] = "\227\314\210\346\202\360\212g\222\243\202\265\202\304\225\\\216\246";

// 起動に失敗しました
inline constexpr char kStartupFailed[] = "\213N\223\256\202\311\216\270\224s\202\265\202\334\202\265\202\275";

// エラー
inline constexpr char kErrorCaption[] = "\203G\203\211\201[";

// 読み取り専用のファイルです。ファイルのプロパティで「読み取り専用」を外してください。
inline constexpr char kSaveReadOnly[] = "\223\307\202\335\216\346\202\350\220\352\227p\202\314\203t\203@\203C\203\213\202\305\202\267\201B\203t\203@\203C\203\213\202\314\203v\203\215\203p\203e\203B\202\305\201u\223\307\202\335\216\346\202\350\220\352\227p\201v\202\360\212O\202\265\202\304\202\255\202\276\202\263\202\242\201B";

// ほかのプログラムが使用中です。そのプログラムを閉じてから、もう一度試してください。
inline constexpr char kSaveInUse[] = "\202\331\202\251\202\314\203v\203\215\203O\203\211\203\200\202\252\216g\227p\222\206\202\305\202\267\201B\202\273\202\314\203v\203\215\203O\203\211\203\200\202\360\225\302\202\266\202\304\202\251\202\347\201A\202\340\202\244\210\352\223x\216\216\202\265\202\304\202\255\202\276\202\263\202\242\201B";

// 書き込む権限がありません。フォルダーを C:\\Games など書き込める場所へ移してください。
inline constexpr char kSaveAccessDenied[] = "\217\221\202\253\215\236\202\336\214\240\214\300\202\252\202\240\202\350\202\334\202\271\202\361\201B\203t\203H\203\213\203_\201[\202\360 C:\\Games \202\310\202\307\217\221\202\253\215\236\202\337\202\351\217\352\217\212\202\326\210\332\202\265\202\304\202\255\202\276\202\263\202\242\201B";

// ディスクの空きが足りません。いらないファイルを消して空きを作ってください。
inline constexpr char kSaveDiskFull[] = "\203f\203B\203X\203N\202\314\213\363\202\253\202\252\221\253\202\350\202\334\202\271\202\361\201B\202\242\202\347\202\310\202\242\203t\203@\203C\203\213\202\360\217\301\202\265\202\304\213\363\202\253\202\360\215\354\202\301\202\304\202\255\202\276\202\263\202\242\201B";

// フォルダーが見つかりません。フォルダーの名前と場所を確かめてください。
inline constexpr char kSaveNoFolder[] = "\203t\203H\203\213\203_\201[\202\252\214\251\202\302\202\251\202\350\202\334\202\271\202\361\201B\203t\203H\203\213\203_\201[\202\314\226\274\221O\202\306\217\352\217\212\202\360\212m\202\251\202\337\202\304\202\255\202\276\202\263\202\242\201B";

// パスが長すぎます。フォルダーを C:\\Games など短いパスの場所へ移してください。
inline constexpr char kSavePathTooLong[] = "\203p\203X\202\252\222\267\202\267\202\254\202\334\202\267\201B\203t\203H\203\213\203_\201[\202\360 C:\\Games \202\310\202\307\222Z\202\242\203p\203X\202\314\217\352\217\212\202\326\210\332\202\265\202\304\202\255\202\276\202\263\202\242\201B";

// 書き込みに失敗しました。保存先のフォルダーとディスクを確かめてください。
inline constexpr char kSaveOtherFailure[] = "\217\221\202\253\215\236\202\335\202\311\216\270\224s\202\265\202\334\202\265\202\275\201B\225\333\221\266\220\346\202\314\203t\203H\203\213\203_\201[\202\306\203f\203B\203X\203N\202\360\212m\202\251\202\337\202\304\202\255\202\276\202\263\202\242\201B";

// 設定を保存できませんでした。
inline constexpr char kSettingsNotSaved[] = "\220\335\222\350\202\360\225\333\221\266\202\305\202\253\202\334\202\271\202\361\202\305\202\265\202\275\201B";

// 設定を保存しませんでした。
inline constexpr char kSettingsLeftUnread[] = "\220\335\222\350\202\360\225\333\221\266\202\265\202\334\202\271\202\361\202\305\202\265\202\275\201B";

// 起動時にこのファイルを読み込めなかったため、上書きせずにそのまま残しました。ほかのプログラムが使用中でないか確かめてから、もう一度起動してください。
inline constexpr char kSettingsUnreadReason[] = "\213N\223\256\216\236\202\311\202\261\202\314\203t\203@\203C\203\213\202\360\223\307\202\335\215\236\202\337\202\310\202\251\202\301\202\275\202\275\202\337\201A\217\343\217\221\202\253\202\271\202\270\202\311\202\273\202\314\202\334\202\334\216c\202\265\202\334\202\265\202\275\201B\202\331\202\251\202\314\203v\203\215\203O\203\211\203\200\202\252\216g\227p\222\206\202\305\202\310\202\242\202\251\212m\202\251\202\337\202\304\202\251\202\347\201A\202\340\202\244\210\352\223x\213N\223\256\202\265\202\304\202\255\202\276\202\263\202\242\201B";

// を保存できませんでした。
inline constexpr char kFileNotSaved[] = "\202\360\225\333\221\266\202\305\202\253\202\334\202\271\202\361\202\305\202\265\202\275\201B";

// 持ち物ウィンドウを読めません。Quilla WS も管理者として実行してください
inline constexpr char kHostRefusesText[] = "\216\235\202\277\225\250\203E\203B\203\223\203h\203E\202\360\223\307\202\337\202\334\202\271\202\361\201BQuilla WS \202\340\212\307\227\235\216\322\202\306\202\265\202\304\216\300\215s\202\265\202\304\202\255\202\276\202\263\202\242";

// ファイル名
inline constexpr char kItemFileNameCue[] = "\203t\203@\203C\203\213\226\274";

// 探す文字
inline constexpr char kSearchTextCue[] = "\222T\202\267\225\266\216\232";

// に保存しました
inline constexpr char kSavedTo[] = "\202\311\225\333\221\266\202\265\202\334\202\265\202\275";

// ファイル名を入力してください。
inline constexpr char kNoFileName[] = "\203t\203@\203C\203\213\226\274\202\360\223\374\227\315\202\265\202\304\202\255\202\276\202\263\202\242\201B";

// を読み込めませんでした。ファイルの名前と場所を確かめてください。
inline constexpr char kFileNotRead[] = "\202\360\223\307\202\335\215\236\202\337\202\334\202\271\202\361\202\305\202\265\202\275\201B\203t\203@\203C\203\213\202\314\226\274\221O\202\306\217\352\217\212\202\360\212m\202\251\202\337\202\304\202\255\202\276\202\263\202\242\201B";

// 保存していない変更があります。\r\n
inline constexpr char kUnsavedChanges[] = "\225\333\221\266\202\265\202\304\202\242\202\310\202\242\225\317\215X\202\252\202\240\202\350\202\334\202\267\201B\015\012";

// に保存しますか？
inline constexpr char kSaveChangesTo[] = "\202\311\225\333\221\266\202\265\202\334\202\267\202\251\201H";

// 削除
inline constexpr char kDeleteEntry[] = "\215\355\217\234";

// （ホストのウィンドウが見つかりません）
inline constexpr char kNoHostWindow[] = "\201i\203z\203X\203g\202\314\203E\203B\203\223\203h\203E\202\252\214\251\202\302\202\251\202\350\202\334\202\271\202\361\201j";

// （認識できない装備はありません）
inline constexpr char kNothingUnrecognised[] = "\201i\224F\216\257\202\305\202\253\202\310\202\242\221\225\224\365\202\315\202\240\202\350\202\334\202\271\202\361\201j";

// clang-format on

}  // namespace quilla::texts
